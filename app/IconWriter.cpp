// Draws a picture from its SVG into a Windows .ico file, each size in 256 colours and in 32-bit
// colour, as uncompressed bitmaps that every Windows reads. Sizes are N (square) or WxH; by
// default 16, 24, 32 and 48 pixels, the sizes of the application icon.
//   q7n_make_icon SOURCE.svg OUT.ico [SIZE...]
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

QImage Render(QSvgRenderer& Svg, QSize Size) {
    QImage Image(Size, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing);
    Svg.render(&Painter);
    return Image;
}

// One icon image: a bitmap header of twice the height (colour rows, then the mask rows),
// rows bottom up, each padded to four bytes.
QByteArray Bitmap(const QImage& Image, bool Paletted) {
    const int Width = Image.width();
    const int Height = Image.height();
    QImage Indexed;
    if (Paletted)
        Indexed = Image.convertToFormat(QImage::Format_Indexed8,
                                        Qt::ThresholdAlphaDither | Qt::PreferDither);
    const int Bits = Paletted ? 8 : 32;
    const int ColourRow = ((Width * Bits + 31) / 32) * 4;
    const int MaskRow = ((Width + 31) / 32) * 4;
    QByteArray Out;
    Put32(Out, 40);
    Put32(Out, Width);
    Put32(Out, Height * 2);
    Put16(Out, 1);
    Put16(Out, Bits);
    Put32(Out, 0);
    Put32(Out, (ColourRow + MaskRow) * Height);
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
    for (int Y = Height - 1; Y >= 0; --Y) {
        QByteArray Row;
        for (int X = 0; X < Width; ++X) {
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
    for (int Y = Height - 1; Y >= 0; --Y) {
        QByteArray Row(MaskRow, '\0');
        for (int X = 0; X < Width; ++X)
            if (qAlpha(Image.pixel(X, Y)) < 128)
                Row[X / 8] = char(Row[X / 8] | (0x80 >> (X % 8)));
        Out.append(Row);
    }
    return Out;
}

// "N" or "WxH"; an empty size for anything else. The icon format holds sizes up to 255.
QSize ParseSize(const QString& Text) {
    const QStringList Parts = Text.split(QLatin1Char('x'));
    bool WidthOk = false, HeightOk = false;
    const int Width = Parts.value(0).toInt(&WidthOk);
    const int Height = Parts.size() == 2 ? Parts[1].toInt(&HeightOk) : Width;
    if (Parts.size() == 2 && !HeightOk)
        return {};
    if (!WidthOk || Parts.size() > 2 || Width < 1 || Width > 255 || Height < 1 || Height > 255)
        return {};
    return {Width, Height};
}

} // namespace

int main(int Argc, char** Argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication Application(Argc, Argv);
    if (Argc < 3) {
        std::fprintf(stderr, "usage: q7n_make_icon SOURCE.svg OUT.ico [N|WxH...]\n");
        return 2;
    }
    std::vector<QSize> Sizes;
    for (int Index = 3; Index < Argc; ++Index) {
        Sizes.push_back(ParseSize(QString::fromLocal8Bit(Argv[Index])));
        if (Sizes.back().isEmpty()) {
            std::fprintf(stderr, "q7n_make_icon: not a size from 1 to 255: %s\n", Argv[Index]);
            return 2;
        }
    }
    if (Sizes.empty())
        Sizes = {{16, 16}, {24, 24}, {32, 32}, {48, 48}};
    QSvgRenderer Svg(QString::fromLocal8Bit(Argv[1]));
    if (!Svg.isValid()) {
        std::fprintf(stderr, "q7n_make_icon: cannot read %s\n", Argv[1]);
        return 1;
    }
    struct TEntry {
        QSize Size;
        bool Paletted;
        QByteArray Data;
    };
    std::vector<TEntry> Entries;
    for (bool Paletted : {true, false})
        for (QSize Size : Sizes)
            Entries.push_back({Size, Paletted, Bitmap(Render(Svg, Size), Paletted)});

    QByteArray File;
    Put16(File, 0);
    Put16(File, 1); // an icon
    Put16(File, static_cast<quint16>(Entries.size()));
    quint32 Offset = 6 + 16 * static_cast<quint32>(Entries.size());
    for (const TEntry& Entry : Entries) {
        File.append(char(Entry.Size.width())).append(char(Entry.Size.height()));
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
