#include "ui/plan_marks.h"

#include "ui/level_list.h"

#include <iterator>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace corvane::ui {

namespace {

enum class Glyph { Plus, Arrow, Equals, Bang, Cross, Dash, Check };

const QColor kGreen(0x2e, 0x7d, 0x32);
const QColor kAmber(0xb2, 0x5e, 0x00);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kSlate(0x54, 0x6e, 0x7a);
const QColor kGrey(0x9e, 0x9e, 0x9e);

// A filled circle with a white glyph, drawn at the sizes lists and tables use.
QIcon Badge(const QColor& fill, Glyph glyph)
{
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        QPainterPath path;
        switch (glyph) {
        case Glyph::Plus:
            path.moveTo(8, 4.5), path.lineTo(8, 11.5), path.moveTo(4.5, 8), path.lineTo(11.5, 8);
            break;
        case Glyph::Arrow:
            path.moveTo(4, 8), path.lineTo(11.5, 8), path.moveTo(8.5, 5), path.lineTo(11.5, 8), path.lineTo(8.5, 11);
            break;
        case Glyph::Equals:
            path.moveTo(4.5, 6.3), path.lineTo(11.5, 6.3), path.moveTo(4.5, 9.7), path.lineTo(11.5, 9.7);
            break;
        case Glyph::Bang:
            path.moveTo(8, 3.8), path.lineTo(8, 9), path.moveTo(8, 12), path.lineTo(8, 12.1);
            break;
        case Glyph::Cross:
            path.moveTo(5, 5), path.lineTo(11, 11), path.moveTo(11, 5), path.lineTo(5, 11);
            break;
        case Glyph::Dash:
            path.moveTo(4.5, 8), path.lineTo(11.5, 8);
            break;
        case Glyph::Check:
            path.moveTo(4.3, 8.3), path.lineTo(7, 11), path.lineTo(11.8, 5.2);
            break;
        }
        painter.drawPath(path);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon StatusIcon(PlanStatus status)
{
    switch (status) {
    case PlanStatus::New: return Badge(kGreen, Glyph::Plus);
    case PlanStatus::Replace: return Badge(kAmber, Glyph::Arrow);
    case PlanStatus::Same: return Badge(kSlate, Glyph::Equals);
    case PlanStatus::Missing: return Badge(kRed, Glyph::Bang);
    case PlanStatus::Refused: return Badge(kRed, Glyph::Cross);
    case PlanStatus::Stock:
    case PlanStatus::NotIncluded: break;
    }
    return Badge(kGrey, Glyph::Dash);
}

QColor StatusColour(PlanStatus status)
{
    switch (status) {
    case PlanStatus::New: return {};
    case PlanStatus::Replace: return kAmber;
    case PlanStatus::Same: return kSlate;
    case PlanStatus::Missing:
    case PlanStatus::Refused: return kRed;
    case PlanStatus::Stock:
    case PlanStatus::NotIncluded: return kGrey;
    }
    return {};
}

QIcon ArrivalIcon(Arrival arrival)
{
    switch (arrival) {
    case Arrival::Arrived:
    case Arrival::Kept: return Badge(kGreen, Glyph::Check);
    case Arrival::Differs: return StatusIcon(PlanStatus::Replace);
    case Arrival::Absent: break;
    }
    return StatusIcon(PlanStatus::Refused);
}

void MarkArrivals(LevelList& list, const std::vector<Arrival>& arrivals)
{
    // Each badge is drawn once for the whole list.
    const Arrival kinds[] = {Arrival::Arrived, Arrival::Differs, Arrival::Kept, Arrival::Absent};
    QIcon icons[std::size(kinds)];
    for (std::size_t k = 0; k < std::size(kinds); ++k)
        icons[k] = ArrivalIcon(kinds[k]);
    std::vector<EntryListModel::Mark> marks;
    marks.reserve(arrivals.size());
    for (const Arrival arrival : arrivals)
        marks.push_back({icons[static_cast<std::size_t>(arrival)], QString::fromLatin1(ArrivalText(arrival))});
    list.entryModel()->setMarks(std::move(marks));
}

}  // namespace corvane::ui
