#include "app/qt/FontFallbacks.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace q7n::qt {

void InstallFontFallbacks() {
    struct TFallback {
        const char* Face;
        QStringList Substitutes;
    };
    const TFallback Fallbacks[] = {
        // Caladea has no Cyrillic; its letters then come from the next face, which is narrow like
        // Cambria's.
        {"Cambria", {"Caladea", "Liberation Serif", "DejaVu Serif"}},
        {"Consolas", {"Inconsolata", "DejaVu Sans Mono", "Liberation Mono"}},
        {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    };
    const QStringList Installed = QFontDatabase::families();
    for (const TFallback& Fallback : Fallbacks)
        if (!Installed.contains(Fallback.Face, Qt::CaseInsensitive))
            QFont::insertSubstitutions(Fallback.Face, Fallback.Substitutes);
}

} // namespace q7n::qt
