// SPDX-License-Identifier: MIT
#include "manage/PairGrid.h"

#include "core/AppError.h"

#include <QLabel>
#include <QPainter>

namespace {

// Positions below are in twips, the unit the window was drawn in, so that each
// number can be checked against the drawing; TwipsRect makes pixels of them.
constexpr int NumberTops[] = {1155, 1875, 2595, 3315, 4035, 4755, 5475, 6210};
static_assert(std::size(NumberTops) == PairGrid::Rows);
constexpr int CellWidth = 900;
constexpr int NumberHeight = 330;
constexpr int PairHeight = 345;
constexpr int PairOffset = 345;  // pair label top below its number label's top

int ColumnLeft(int index)
{
    return 1200 + 915 * (index % PairGrid::Columns);
}

int RowTop(int index)
{
    return NumberTops[static_cast<std::size_t>(index / PairGrid::Columns)];
}

void CheckIndex(int index)
{
    if (index < 0 || index >= PairGrid::CellCount)
        throw AppError(AppError::SubscriptOutOfRange,
                       QStringLiteral("字の表に %1 番目の欄はありません（0 から %2 まで）。").arg(index).arg(PairGrid::CellCount - 1));
}

// A label with a thin dark border that does not take the text colour, as a
// plain frame would.
class CellLabel final : public QLabel {
public:
    CellLabel(QWidget* parent, const QString& name, QRect geometry, const QPalette& colours, const QFont& font)
        : QLabel(parent)
    {
        setObjectName(name);
        setGeometry(geometry);
        setFont(font);
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        setPalette(colours);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QPalette CellColours(const QWidget& form, QColor back, QColor text)
{
    QPalette colours = form.palette();
    colours.setColor(QPalette::Window, back);
    colours.setColor(QPalette::WindowText, text);
    return colours;
}

QString FullWidthNumber(int number)
{
    QString digits = QString::number(number);
    for (QChar& digit : digits)
        digit = QChar(static_cast<char16_t>(u'０' + (digit.unicode() - u'0')));
    return digits;
}

void MakeLine(QWidget& form, const char* name, QRect geometry)
{
    auto* line = new QWidget(&form);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, PairGrid::LineColour);
    line->setPalette(colours);
}

} // namespace

PairGrid::PairGrid(QWidget& form)
{
    const QFont numberFont = WindowFonts::GridNumber();
    const QFont pairFont = WindowFonts::GridPair();
    const QPalette numberColours = CellColours(form, NumberBack, NumberText);
    const QPalette pairColours = CellColours(form, PairBack, PairText);
    for (int index = 0; index < CellCount; ++index) {
        const auto slot = static_cast<std::size_t>(index);
        numberLabels_[slot] = new CellLabel(&form, QStringLiteral("pairNumber(%1)").arg(index), NumberRect(index),
                                            numberColours, numberFont);
        numberLabels_[slot]->setText(FullWidthNumber(index + 1));
        pairLabels_[slot] = new CellLabel(&form, QStringLiteral("pair(%1)").arg(index), PairRect(index),
                                          pairColours, pairFont);
    }

    // The frame from (1035, 960) to (10515, 7050) twips, corners included.
    const int left = Twips(1035), top = Twips(960), right = Twips(10515), bottom = Twips(7050);
    MakeLine(form, "gridFrameTop", QRect(left, top, right - left + 1, 1));
    MakeLine(form, "gridFrameRight", QRect(right, top, 1, bottom - top + 1));
    MakeLine(form, "gridFrameLeft", QRect(left, top, 1, bottom - top + 1));
    MakeLine(form, "gridFrameBottom", QRect(left, bottom, right - left + 1, 1));
}

void PairGrid::FillPairGrid(const ProblemStore& store)
{
    const std::int16_t count = store.ProblemCount();
    for (std::int16_t index = 0; index < count; ++index)
        PairLabel(index).setText(store.PairCaption(static_cast<std::int16_t>(index + 1)));
}

void PairGrid::ClearPairGrid()
{
    for (const QPointer<QLabel>& label : pairLabels_)
        label->clear();
}

QLabel& PairGrid::NumberLabel(int index) const
{
    CheckIndex(index);
    return *numberLabels_[static_cast<std::size_t>(index)];
}

QLabel& PairGrid::PairLabel(int index) const
{
    CheckIndex(index);
    return *pairLabels_[static_cast<std::size_t>(index)];
}

void PairGrid::SetPairBackColour(int index, Rgb colour)
{
    QLabel& label = PairLabel(index);
    QPalette colours = label.palette();
    colours.setColor(QPalette::Window, ColourOf(colour));
    label.setPalette(colours);
}

QRect PairGrid::NumberRect(int index)
{
    CheckIndex(index);
    return TwipsRect(ColumnLeft(index), RowTop(index), CellWidth, NumberHeight);
}

QRect PairGrid::PairRect(int index)
{
    CheckIndex(index);
    return TwipsRect(ColumnLeft(index), RowTop(index) + PairOffset, CellWidth, PairHeight);
}
