#include "ranges/rangeform.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "ranges/formkit.h"
#include "widgets/datagrid.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace talvera::ranges {

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

RangeForm::RangeForm(DataModule& dm, const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent), dm_(dm)
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edInicial = new widgets::MaskedEdit(widgets::MaskedEdit::aihPicture, this);
    edInicial->setObjectName(QStringLiteral("edInicial"));
    edDvinic = new widgets::NumericEdit(QStringLiteral("0"), this);
    edDvinic->setObjectName(QStringLiteral("edDvinic"));
    edDvinic->setRange(0, 9);
    edFinal = new widgets::MaskedEdit(widgets::MaskedEdit::aihPicture, this);
    edFinal->setObjectName(QStringLiteral("edFinal"));
    edDvfina = new widgets::NumericEdit(QStringLiteral("0"), this);
    edDvfina->setObjectName(QStringLiteral("edDvfina"));
    edDvfina->setRange(0, 9);
    for (widgets::NumericEdit* digit : {edDvinic, edDvfina}) {
        digit->setMaximumWidth(40);
        digit->setZeroShown(true);
    }
    btInclui = button(this, "btInclui", QStringLiteral("Incluir"));
    btConfirma = button(this, "btConfirma", QStringLiteral("Gravar"));
    btCancela = button(this, "btCancela", QStringLiteral("Retornar"));
    btExclui = button(this, "btExclui", QStringLiteral("Excluir"));
    btFecha = button(this, "btFecha", QStringLiteral("Sair"));
    connect(btFecha, &QPushButton::clicked, this, &QDialog::close);
    widgets::installEnterMovesFocus(this);
}

widgets::LookupCombo* RangeForm::municipalityCombo(const char* name)
{
    db::Dataset& mun = dm_.dataset(QStringLiteral("quMun"));
    if (!municipalities_)
        municipalities_ = new db::DatasetModel(mun, {QStringLiteral("CODMUN"), QStringLiteral("NOME")}, this);
    return ranges::municipalityCombo(this, mun, municipalities_, name);
}

widgets::RadioGroup* RangeForm::categoryGroup(const char* name)
{
    categories_ = new widgets::RadioGroup(QStringLiteral("Categoria"), categoryItems(), this);
    categories_->setObjectName(QString::fromLatin1(name));
    connect(categories_, &widgets::RadioGroup::clicked, this, widgets::guardedSlot([this] { checkCategoryClick(); }));
    return categories_;
}

widgets::DataGrid* RangeForm::makeGrid(db::Dataset& dataset, const QList<QPair<QString, QString>>& columns)
{
    grNome = datasetGrid(this, dataset, columns);
    return grNome;
}

void RangeForm::addButtons(QGridLayout* layout, int row)
{
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btInclui, btConfirma, btCancela, btExclui})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btFecha);
    layout->addLayout(buttons, row, 0, 1, layout->columnCount());
}

int RangeForm::category() const
{
    return categories_->itemIndex() + 1;
}

void RangeForm::setCategory(int category)
{
    categories_->setItemIndex(category - 1);
    checkCategoryClick();
}

void RangeForm::checkCategoryClick()
{
    const int c = category();
    if (c > 0 && !categoryAccepted(c)) {
        widgets::messages().information(categoryRefusal());
        categories_->setFocus();
    }
}

bool RangeForm::refuseMissingCategory()
{
    if (category() != 0)
        return false;
    widgets::messages().information(QStringLiteral("Selecione a categoria"));
    return true;
}

bool RangeForm::refuseCategory()
{
    if (categoryAccepted(category()))
        return false;
    widgets::messages().information(categoryRefusal());
    return true;
}

std::optional<TypedRange> RangeForm::typedRange(int year)
{
    const auto first = readNumber(edInicial->digits());
    if (!first) {
        widgets::messages().information(QStringLiteral("Número inicial não preenchido"));
        edInicial->setFocus();
        return std::nullopt;
    }
    const auto last = readNumber(edFinal->digits());
    if (!last) {
        widgets::messages().information(QStringLiteral("Número final não preenchido"));
        edFinal->setFocus();
        return std::nullopt;
    }
    return TypedRange{category(), year, *first, static_cast<int>(edDvinic->value()), *last,
                      static_cast<int>(edDvfina->value())};
}

void RangeForm::clearRange()
{
    edInicial->setDigits({});
    edFinal->setDigits({});
    edDvinic->setValue(0);
    edDvfina->setValue(0);
}

void RangeForm::setRangeEditable(bool editable)
{
    edInicial->setReadOnly(!editable);
    edFinal->setReadOnly(!editable);
    edDvinic->setReadOnly(!editable);
    edDvfina->setReadOnly(!editable);
}

void RangeForm::showRange(qint64 first, int firstDigit, qint64 last, int lastDigit)
{
    edInicial->setDigits(QString::number(first).rightJustified(12, QLatin1Char('0')));
    edDvinic->setValue(firstDigit);
    edFinal->setDigits(QString::number(last).rightJustified(12, QLatin1Char('0')));
    edDvfina->setValue(lastDigit);
}

void RangeForm::showBrowsing()
{
    including_ = false;
    btExclui->setEnabled(false);
    btInclui->setEnabled(true);
    btConfirma->hide();
    btCancela->hide();
    btInclui->setFocus();
}

void RangeForm::showEntry()
{
    including_ = true;
    btExclui->setEnabled(false);
    btInclui->setEnabled(false);
    btConfirma->show();
    btCancela->show();
}

void RangeForm::reopenMunicipalities()
{
    db::Dataset& mun = dm_.dataset(QStringLiteral("quMun"));
    mun.close();
    mun.open();
}

void RangeForm::reportFailure(const QString& operation, const db::WriteResult& result)
{
    widgets::reportFailure(operation, result);
}

} // namespace talvera::ranges
