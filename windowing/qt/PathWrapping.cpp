#include "windowing/qt/PathWrapping.h"

#include "windowing/PathWrapping.h"

namespace q7n::qt {

namespace {

constexpr QChar ZeroWidthSpace(0x200B);
constexpr QChar WordJoiner(0x2060);
constexpr QChar NoBreakSpace(0x00A0);

// Word joiners between the characters and no-break blanks keep the name whole.
QString KeepWhole(const QString& Name) {
    QString Out;
    for (qsizetype I = 0; I < Name.size(); ++I) {
        // Qt ends a line after a blank even before a word joiner.
        Out += Name[I] == u' ' ? NoBreakSpace : Name[I];
        if (I + 1 < Name.size() && !Name[I].isHighSurrogate()) // never inside one character
            Out += WordJoiner;
    }
    return Out;
}

} // namespace

QString WrapPathsAtSeparators(const QString& Text) {
    const QByteArray Utf8 = Text.toUtf8();
    QString Out;
    bool AfterName = false;
    for (const TTextPiece& Piece :
         CutAtPathSeparators(std::string_view(Utf8.data(), Utf8.size()))) {
        const QString Part = QString::fromUtf8(Piece.Text.data(), qsizetype(Piece.Text.size()));
        if (AfterName && Piece.PathName)
            Out += ZeroWidthSpace; // a line may end after the separator before
        Out += Piece.PathName ? KeepWhole(Part) : Part;
        AfterName = Piece.PathName;
    }
    return Out;
}

QString WithoutWrapMarks(QString Text) {
    return Text.remove(ZeroWidthSpace).remove(WordJoiner).replace(NoBreakSpace, u' ');
}

} // namespace q7n::qt
