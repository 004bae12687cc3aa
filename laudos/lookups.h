#pragma once
// The five lookup dialogs of the laudo form: a searchable list of providers,
// admission characters, specialties, procedures or professionals. The list
// narrows as the operator types; Enter or a double click writes the chosen
// row straight into the laudo form's controls and closes, Esc closes.

#include <QDialog>
#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace talvera {
class DataModule;
namespace widgets {
class DataGrid;
class LookupCombo;
} // namespace widgets
} // namespace talvera

namespace talvera::laudos {

class LookupList;
class TfmLaudo;

class LookupDialog : public QDialog {
    Q_OBJECT
public:
    // A radio button of " Pesquisar por " and the field it searches.
    struct SearchBy {
        const char* name;
        QString text;
        QString field;
    };
    struct Column {
        QString field;
        QString title;
        int width;
    };
    LookupDialog(DataModule& dm, TfmLaudo& laudo, const char* name, const QString& caption, const QString& dataset,
                 const char* groupName, const QList<SearchBy>& searchBy, const QList<Column>& columns,
                 QWidget* parent = nullptr);

    // Reads the whole list again, ordered by the first column; the search
    // text and choice stay as they were.
    void formShow();
    // Narrows the list to the search text (upper-cased) in the chosen column;
    // blanks only list everything in the database's order.
    void search();
    // Writes the current row (the first when none is current) into the laudo
    // form and closes; an empty list does nothing.
    void choose();

    const LookupList& list() const { return *list_; }
    QRadioButton* searchButton(int index) const { return searchButtons_.value(index); }

    QLineEdit* edPesquisar;
    QGroupBox* searchGroup;
    QPushButton* btPesquisar;
    widgets::DataGrid* grNome;

protected:
    virtual void apply(int row) = 0;
    // The chosen search field's index in the list.
    int chosenField() const;
    // Every row, ordered by a field (-1: in the order read).
    void listAll(int field);
    QString value(int row, const QString& field) const;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    DataModule& dm_;
    TfmLaudo& laudo_;
    // Showing chooses the first column again.
    bool firstColumnOnShow_ = false;

private:
    QString datasetName_;
    QList<SearchBy> searchBy_;
    QList<QRadioButton*> searchButtons_;
    LookupList* list_;
};

class TfmConprest : public LookupDialog {
    Q_OBJECT
public:
    TfmConprest(DataModule& dm, TfmLaudo& laudo, QWidget* parent = nullptr);
    QRadioButton* rdbCnes;
    QRadioButton* rdbFantasia;
    QRadioButton* rdbCnpj;

protected:
    void apply(int row) override;
};

// The dialogs that search by code ("rdbCod") or by description ("rdbDesc");
// a choice sets a combo of the laudo form and the label beside it.
class CodeLookup : public LookupDialog {
    Q_OBJECT
public:
    QRadioButton* rdbCod;
    QRadioButton* rdbDesc;

protected:
    struct Target {
        widgets::LookupCombo* combo;
        QLabel* label;
        QString codeField;
        QString descriptionField;
    };
    CodeLookup(DataModule& dm, TfmLaudo& laudo, const char* name, const QString& caption, const QString& dataset,
               const char* groupName, const QList<SearchBy>& searchBy, const QList<Column>& columns,
               const Target& target, QWidget* parent);
    // Sets the combo to the row's code and the label to its description, or
    // empties the label when the code is not in the combo's list.
    void apply(int row) override;

private:
    Target target_;
};

class TfmConcara : public CodeLookup {
    Q_OBJECT
public:
    TfmConcara(DataModule& dm, TfmLaudo& laudo, QWidget* parent = nullptr);
};

class TfmConespec : public CodeLookup {
    Q_OBJECT
public:
    TfmConespec(DataModule& dm, TfmLaudo& laudo, QWidget* parent = nullptr);
};

class TfmConproced : public CodeLookup {
    Q_OBJECT
public:
    TfmConproced(DataModule& dm, TfmLaudo& laudo, QWidget* parent = nullptr);
    // A double click on " Pesquisar por " lists everything by the chosen column.
    void grProcDblClick();
    QGroupBox* grProc;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TfmConprof : public CodeLookup {
    Q_OBJECT
public:
    TfmConprof(DataModule& dm, TfmLaudo& laudo, QWidget* parent = nullptr);
    // Whose CPF a choice fills: "1" the requesting, "2" the authorising physician.
    QLabel* lbProf;

protected:
    void apply(int row) override;
};

} // namespace talvera::laudos
