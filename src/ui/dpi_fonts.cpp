#include "ui/dpi_fonts.h"

#include <vector>

#include "model/dpi_units.h"
#include "ui/window_dpi.h"

namespace ui {

LOGFONTW FontAtDpi(LOGFONTW lf, int dpi) {
    lf.lfHeight = model::ScaleBetweenDpi(lf.lfHeight, SystemDpi(), dpi);
    lf.lfWidth = model::ScaleBetweenDpi(lf.lfWidth, SystemDpi(), dpi);
    return lf;
}

HFONT GuiFont(int dpi, bool vertical) {
    const HFONT stock = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!vertical && (dpi <= 0 || dpi == SystemDpi()))
        return stock;
    struct Kept {
        int dpi;
        bool vertical;
        fw::Font font;
    };
    // A handful at most: one per resolution the bar has been on, each way round.
    static std::vector<Kept> kept;
    for (const Kept& k : kept)
        if (k.dpi == dpi && k.vertical == vertical)
            return k.font.get();
    LOGFONTW lf{};
    if (!::GetObjectW(stock, sizeof(lf), &lf))
        return stock;
    lf = FontAtDpi(lf, dpi);
    if (vertical) {
        lf.lfEscapement = 2700;
        lf.lfOrientation = 2700;
    }
    fw::Font font(::CreateFontIndirectW(&lf));
    if (!font)
        return stock;
    kept.push_back(Kept{dpi, vertical, std::move(font)});
    return kept.back().font.get();
}

fw::Font MessageFont(int dpi) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return fw::Font();
    const LOGFONTW lf = FontAtDpi(ncm.lfMessageFont, dpi);
    return fw::Font(::CreateFontIndirectW(&lf));
}

} // namespace ui
