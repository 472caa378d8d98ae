#include "ui/fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

namespace corvane::ui {

bool HasEqualAdvances(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('W'));
    if (width <= 0)
        return false;
    for (const QChar c : QStringLiteral("il.,0M _|"))
        if (!qFuzzyCompare(metrics.horizontalAdvance(c), width))
            return false;
    return true;
}

namespace {

QFont ChooseFixedPitchFont()
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (HasEqualAdvances(system))
        return system;
    const QStringList fallbacks = {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                                   QStringLiteral("Noto Sans Mono"),   QStringLiteral("Noto Mono"),
                                   QStringLiteral("Courier New"),      QStringLiteral("Monospace")};
    for (const QString& family : fallbacks) {
        QFont font = system;
        font.setFamilies({family});
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        if (HasEqualAdvances(font))
            return font;
    }
    QFont font = system;
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

QFont FixedPitchFont()
{
    static const QFont font = ChooseFixedPitchFont();
    return font;
}

}  // namespace corvane::ui
