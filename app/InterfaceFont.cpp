#include "app/InterfaceFont.h"

#include <QFontDatabase>

#include <cmath>

namespace tvl {

double ControlFontPointSize(double dpi)
{
    if (dpi <= 0 || dpi == 96)
        return 8.5;
    return std::trunc(8.5 * 96.0 / dpi * 10.0 + 1e-9) / 10.0;
}

QFont InterfaceFont(double dpi)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (font.family().isEmpty()) {
        font.setFamily(QStringLiteral("Sans Serif"));
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPointSizeF(ControlFontPointSize(dpi));
    return font;
}

} // namespace tvl
