// Draws the application icon from its SVG into a Windows .ico file: 16, 24, 32 and 48 pixels,
// each in 256 colours and in 32-bit colour, as uncompressed bitmaps that every Windows reads.
//   q7n_make_icon SOURCE.svg OUT.ico
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>
#include <vector>

namespace {

void Put16(QByteArray& Out, quint16 Value) {
    Value = qToLittleEndian(Value);
    Out.append(reinterpret_cast<const char*>(&Value), 2);
}

void Put32(QByteArray& Out, quint32 Value) {
    Value = qToLittleEndian(Value);
    Out.append(reinterpret_cast<const char*>(&Value), 4);
}

QImage Render(QSvgRenderer& Svg, int Size) {
    QImage Image(Size, Size, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing);
    Svg.render(&Painter);
    return Image;
}

// One icon image: a bitmap header of twice the height (colour rows, then the mask rows),
// rows bottom up, each padded to four bytes.
QByteArray Bitmap(const QImage& Image, bool Paletted) {
    const int Size = Image.width();
    QImage Indexed;
    if (Paletted)
        Indexed = Image.convertToFormat(QImage::Format_Indexed8,
                                        Qt::ThresholdAlphaDither | Qt::PreferDither);
    const int Bits = Paletted ? 8 : 32;
    const int ColourRow = ((Size * Bits + 31) / 32) * 4;
    const int MaskRow = ((Size + 31) / 32) * 4;
    QByteArray Out;
    Put32(Out, 40);
    Put32(Out, Size);
    Put32(Out, Size * 2);
    Put16(Out, 1);
    Put16(Out, Bits);
    Put32(Out, 0);
    Put32(Out, (ColourRow + MaskRow) * Size);
    Put32(Out, 0);
    Put32(Out, 0);
    Put32(Out, Paletted ? 256 : 0);
    Put32(Out, 0);
    if (Paletted) {
        QList<QRgb> Table = Indexed.colorTable();
        for (int Index = 0; Index < 256; ++Index) {
            QRgb Colour = Index < Table.size() ? Table[Index] : 0;
            Out.append(char(qBlue(Colour))).append(char(qGreen(Colour)));
            Out.append(char(qRed(Colour))).append(char(0));
        }
    }
    for (int Y = Size - 1; Y >= 0; --Y) {
        QByteArray Row;
        for (int X = 0; X < Size; ++X) {
            if (Paletted) {
                Row.append(char(Indexed.pixelIndex(X, Y)));
            } else {
                QRgb Pixel = Image.pixel(X, Y);
                Row.append(char(qBlue(Pixel))).append(char(qGreen(Pixel)));
                Row.append(char(qRed(Pixel))).append(char(qAlpha(Pixel)));
            }
        }
        Row.append(QByteArray(ColourRow - Row.size(), '\0'));
        Out.append(Row);
    }
    for (int Y = Size - 1; Y >= 0; --Y) {
        QByteArray Row(MaskRow, '\0');
        for (int X = 0; X < Size; ++X)
            if (qAlpha(Image.pixel(X, Y)) < 128)
                Row[X / 8] = char(Row[X / 8] | (0x80 >> (X % 8)));
        Out.append(Row);
    }
    return Out;
}

} // namespace

int main(int Argc, char** Argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication Application(Argc, Argv);
    if (Argc != 3) {
        std::fprintf(stderr, "usage: q7n_make_icon SOURCE.svg OUT.ico\n");
        return 2;
    }
    QSvgRenderer Svg(QString::fromLocal8Bit(Argv[1]));
    if (!Svg.isValid()) {
        std::fprintf(stderr, "q7n_make_icon: cannot read %s\n", Argv[1]);
        return 1;
    }
    struct TEntry {
        int Size;
        bool Paletted;
        QByteArray Data;
    };
    std::vector<TEntry> Entries;
    for (bool Paletted : {true, false})
        for (int Size : {16, 24, 32, 48})
            Entries.push_back({Size, Paletted, Bitmap(Render(Svg, Size), Paletted)});

    QByteArray File;
    Put16(File, 0);
    Put16(File, 1); // an icon
    Put16(File, static_cast<quint16>(Entries.size()));
    quint32 Offset = 6 + 16 * static_cast<quint32>(Entries.size());
    for (const TEntry& Entry : Entries) {
        File.append(char(Entry.Size)).append(char(Entry.Paletted ? 0 : 0));
        File.append(char(0)).append(char(0));
        Put16(File, 1);
        Put16(File, Entry.Paletted ? 8 : 32);
        Put32(File, static_cast<quint32>(Entry.Data.size()));
        Put32(File, Offset);
        Offset += static_cast<quint32>(Entry.Data.size());
    }
    for (const TEntry& Entry : Entries)
        File.append(Entry.Data);
    QFile Out(QString::fromLocal8Bit(Argv[2]));
    if (!Out.open(QIODevice::WriteOnly) || Out.write(File) != File.size()) {
        std::fprintf(stderr, "q7n_make_icon: cannot write %s\n", Argv[2]);
        return 1;
    }
    return 0;
}
