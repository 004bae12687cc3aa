#pragma once
// What the forecast and distribution forms share: the typed range (two
// numbers with their check digits and the category), the list of
// municipalities, and the grid over a dataset.

#include "ranges/rangerules.h"

#include <QDialog>

#include <optional>

class QGridLayout;
class QPushButton;

namespace talvera {
class DataModule;
namespace db {
class Dataset;
class DatasetModel;
} // namespace db
namespace widgets {
class DataGrid;
class LookupCombo;
class MaskedEdit;
class NumericEdit;
class RadioGroup;
struct GridColumn;
} // namespace widgets
} // namespace talvera

namespace talvera::ranges {

class RangeForm : public QDialog {
    Q_OBJECT
public:
    RangeForm(DataModule& dm, const QString& name, const QString& caption, QWidget* parent = nullptr);

    widgets::MaskedEdit* edInicial;
    widgets::NumericEdit* edDvinic;
    widgets::MaskedEdit* edFinal;
    widgets::NumericEdit* edDvfina;
    widgets::DataGrid* grNome = nullptr;
    QPushButton* btInclui;
    QPushButton* btConfirma;
    QPushButton* btCancela;
    QPushButton* btExclui;
    QPushButton* btFecha;

protected:
    // A combo over the municipality list, keyed by CODMUN and showing NOME.
    widgets::LookupCombo* municipalityCombo(const char* name);
    widgets::RadioGroup* categoryGroup(const char* name);
    widgets::DataGrid* makeGrid(db::Dataset& dataset, const QList<QPair<QString, QString>>& columns);
    void addButtons(QGridLayout* layout, int row);
    // The category chosen in the group: 1 to 5, or 0 for none.
    int category() const;
    void setCategory(int category);
    // Warns, and returns the focus to the group, when the category is refused.
    void checkCategoryClick();
    // Saving's category checks: each shows its message and answers true when it refuses.
    bool refuseMissingCategory();
    bool refuseCategory();
    // The typed numbers; a message and nothing when a field is empty.
    std::optional<TypedRange> typedRange(int year);
    void clearRange();
    void setRangeEditable(bool editable);
    void showRange(qint64 first, int firstDigit, qint64 last, int lastDigit);
    // The buttons of browsing (Incluir enabled, Gravar and Retornar hidden)
    // and of an entry (inclusion mode, Gravar and Retornar shown).
    void showBrowsing();
    void showEntry();
    bool including() const { return including_; }
    // Reopens the municipality list after the main connection was switched.
    void reopenMunicipalities();
    // Shows a failed write with the database's message.
    void reportFailure(const QString& operation, const db::WriteResult& result);

    DataModule& dm_;
    widgets::RadioGroup* categories_ = nullptr;
    bool including_ = false;

private:
    db::DatasetModel* municipalities_ = nullptr;
};

} // namespace talvera::ranges
