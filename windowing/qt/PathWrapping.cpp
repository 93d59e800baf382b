#include "windowing/qt/PathWrapping.h"

#include <QStringList>
#include <algorithm>

namespace q7n::qt {

namespace {

constexpr QChar ZeroWidthSpace(0x200B);
constexpr QChar WordJoiner(0x2060);
constexpr QChar NoBreakSpace(0x00A0);

bool IsSeparator(QChar C) {
    return C == u'/' || C == u'\\';
}

QString KeepNamesWhole(const QString& Path) {
    QString Out;
    for (qsizetype I = 0; I < Path.size(); ++I) {
        // Qt ends a line after a blank even before a word joiner.
        Out += Path[I] == u' ' ? NoBreakSpace : Path[I];
        if (I + 1 == Path.size() || Path[I].isHighSurrogate())
            continue; // never between the halves of one character
        Out += IsSeparator(Path[I]) ? ZeroWidthSpace : WordJoiner;
    }
    return Out;
}

} // namespace

QString WrapPathsAtSeparators(const QString& Text) {
    const QStringList Parts = Text.split(u'"');
    QString Out;
    for (qsizetype I = 0; I < Parts.size(); ++I) {
        if (I > 0)
            Out += u'"';
        // Odd parts stand between two quotes.
        bool Quoted = I % 2 == 1 && I + 1 < Parts.size();
        bool Path = Quoted && std::any_of(Parts[I].begin(), Parts[I].end(), IsSeparator);
        Out += Path ? KeepNamesWhole(Parts[I]) : Parts[I];
    }
    return Out;
}

QString WithoutWrapMarks(QString Text) {
    return Text.remove(ZeroWidthSpace).remove(WordJoiner).replace(NoBreakSpace, u' ');
}

} // namespace q7n::qt
