#include "app/qt/ServiceConfiguratorDialog.h"

#include "app/qt/GradientRule.h"
#include "app/qt/QtTimer.h"
#include "windowing/CaptionFit.h"
#include "windowing/qt/ErrorBox.h"
#include "windowing/qt/PushButton.h"
#include "windowing/qt/QtConversions.h"
#include "windowing/qt/ScreenPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <exception>

// The pictures live in a resource file of a static library, which the program must register.
static void RegisterPictures() {
    Q_INIT_RESOURCE(app);
}

namespace q7n::qt {

namespace {

QFont MakeFont(const app::TFontLook& Look) {
    QFont Font(ToQString(Look.Face));
    Font.setPixelSize(Look.PixelSize);
    Font.setBold(Look.Bold);
    return Font;
}

QRect PlaceOf(const app::TMainWindowControl& Control) {
    return {Control.Place.Left, Control.Place.Top, Control.Place.Width, Control.Place.Height};
}

void SetTextColour(QLabel* Label, app::TColor Color) {
    QPalette Colours = Label->palette();
    Colours.setColor(QPalette::WindowText, ToQColor(Color));
    Label->setPalette(Colours);
}

QLabel* MakeLabel(QWidget* Parent, const app::TMainWindowControl& Control) {
    auto* Label = new QLabel(ToQString(Control.Caption), Parent);
    Label->setObjectName(ToQString(Control.Name));
    Label->setFont(MakeFont(Control.Font));
    SetTextColour(Label, Control.Color);
    Label->setAttribute(Qt::WA_TranslucentBackground);
    Label->setGeometry(PlaceOf(Control));
    // Labels take the size of their text, so that a fallback face never cuts a caption off.
    Label->adjustSize();
    Label->move(PlaceOf(Control).topLeft());
    return Label;
}

QString PictureResource(app::TPicture Picture) {
    return Picture == app::TPicture::pcGears ? QStringLiteral(":/q7n/gears.svg")
                                             : QStringLiteral(":/q7n/computer-tools.svg");
}

// A picture from the program's SVG resources, drawn at its place's size keeping its proportions.
QLabel* MakePicture(QWidget* Parent, const app::TMainWindowControl& Control) {
    const QRect Place = PlaceOf(Control);
    auto* Picture = new QLabel(Parent);
    Picture->setObjectName(ToQString(Control.Name));
    Picture->setGeometry(Place);
    Picture->setAttribute(Qt::WA_TranslucentBackground);
    QSvgRenderer Renderer(PictureResource(Control.Picture));
    QSizeF Size = Renderer.defaultSize();
    Size.scale(Place.size(), Qt::KeepAspectRatio);
    qreal Scale = Parent->devicePixelRatioF();
    QPixmap Pixmap((Size * Scale).toSize());
    Pixmap.fill(Qt::transparent);
    QPainter Painter(&Pixmap);
    Renderer.render(&Painter);
    Painter.end();
    Pixmap.setDevicePixelRatio(Scale);
    Picture->setPixmap(Pixmap);
    Picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return Picture;
}

QFont FittedFont(QFont Font, const TCaptionFit& Fit) {
    if (Fit.LetterSpacing != 0)
        Font.setLetterSpacing(QFont::AbsoluteSpacing, Fit.LetterSpacing);
    if (Fit.Stretch != 100)
        Font.setStretch(Fit.Stretch);
    return Font;
}

// Shows Text on Label in Font, fitted into Room pixels, so that the button in front of the label
// does not hide its end.
void SetFittedText(QLabel& Label, const QFont& Font, const QString& Text, int Room) {
    Label.setText(Text);
    const TCaptionFit Fit = FitCaption(Room, [&](const TCaptionFit& Trial) {
        Label.setFont(FittedFont(Font, Trial));
        return Label.sizeHint().width();
    });
    Label.setFont(FittedFont(Font, Fit));
    Label.adjustSize();
}

QPushButton* MakeButton(QWidget* Parent, const app::TMainWindowControl& Control) {
    auto* Button = new TPushButton(ToQString(Control.Caption), Parent);
    Button->setObjectName(ToQString(Control.Name));
    Button->setGeometry(PlaceOf(Control));
    Button->setAutoDefault(false);
    return Button;
}

} // namespace

TdlgServiceConfigurator::TdlgServiceConfigurator(app::TMainWindowParts Parts)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    RegisterPictures();
    CreateControls();
    FPresenter.FormCreate(std::move(Parts), std::make_unique<TQtTimer>());
}

TdlgServiceConfigurator::~TdlgServiceConfigurator() {
    FPresenter.FormDestroy();
}

void TdlgServiceConfigurator::CreateControls() {
    setObjectName("dlgServiceConfigurator");
    setWindowTitle(ToQString(app::MainWindowCaption));
    setFixedSize(app::ClientWidth, app::ClientHeight);
    QPalette Background = palette();
    Background.setColor(QPalette::Window, ToQColor(app::White));
    setPalette(Background);
    setAutoFillBackground(true);
    setFont(MakeFont(app::DefaultFont));

    // The window's commands, shown as Qt's actions.
    for (const app::TAction* Shared : app::MainWindowActions) {
        auto* Action = new QAction(ToQString(Shared->Caption), this);
        Action->setObjectName(ToQString(Shared->Name));
        Action->setProperty("Category", ToQString(Shared->Category));
        addAction(Action);
        connect(Action, &QAction::triggered, this,
                [this, Command = Shared->Command] { FPresenter.Press(Command); });
    }
    actStart = findChild<QAction*>(ToQString(app::actStart.Name));
    actStop = findChild<QAction*>(ToQString(app::actStop.Name));
    actReboot = findChild<QAction*>(ToQString(app::actReboot.Name));

    QWidget* Previous = nullptr;
    for (const app::TMainWindowControl& Control : app::MainWindowControls) {
        switch (Control.Kind) {
        case app::TControlKind::ckLabel:
        case app::TControlKind::ckStateLabel:
            MakeLabel(this, Control);
            break;
        case app::TControlKind::ckPicture:
            MakePicture(this, Control);
            break;
        case app::TControlKind::ckRule:
            (new TGradientRule(this))->setGeometry(PlaceOf(Control));
            break;
        case app::TControlKind::ckButton: {
            auto* Button = MakeButton(this, Control);
            if (Control.Action) // a service button runs through its command
                connect(Button, &QPushButton::clicked,
                        findChild<QAction*>(ToQString(Control.Action->Name)), &QAction::trigger);
            else
                connect(Button, &QPushButton::clicked, this,
                        [this, Command = Control.Command] { FPresenter.Press(Command); });
            if (Previous)
                setTabOrder(Previous, Button);
            Previous = Button;
            break;
        }
        }
    }
    Label1 = findChild<QLabel*>("Label1");
    Label2 = findChild<QLabel*>("Label2");
    Label3 = findChild<QLabel*>("Label3");
    ServiceStatusLb = findChild<QLabel*>("ServiceStatusLb");
    Image1 = findChild<QLabel*>("Image1");
    Image2 = findChild<QLabel*>("Image2");
    Button1 = findChild<QPushButton*>("Button1");
    Button2 = findChild<QPushButton*>("Button2");
    Button3 = findChild<QPushButton*>("Button3");
    Button5 = findChild<QPushButton*>("Button5");
    btn1 = findChild<QPushButton*>("btn1");
    btnEdit = findChild<QPushButton*>("btnEdit");
}

void TdlgServiceConfigurator::ShowServiceState() {
    SetTextColour(ServiceStatusLb, FPresenter.StateLook().Color);
    SetFittedText(*ServiceStatusLb, MakeFont(app::StateFont),
                  ToQString(FPresenter.StateLook().Caption), app::StateCaptionRoom);
}

void TdlgServiceConfigurator::showEvent(QShowEvent* Event) {
    if (!FCentred) {
        FCentred = true;
        CentreOnScreen(*this);
    }
    QWidget::showEvent(Event);
}

void TdlgServiceConfigurator::closeEvent(QCloseEvent* Event) {
    if (FPresenter.CloseQuery()) {
        QWidget::closeEvent(Event);
        return;
    }
    // close() from code, or the session manager asking every window: the window stays and the
    // open dialog or box comes forward.
    Event->ignore();
    if (QWidget* Modal = QApplication::activeModalWidget()) {
        Modal->raise();
        Modal->activateWindow();
    }
}

TdlgServiceConfigurator* CreateMainWindow(app::TConfiguratorProgram& Program,
                                          platform::IServiceControlManager* Platform) {
    try {
        return &Program.CreateMainWindow<TdlgServiceConfigurator>(Platform);
    } catch (const std::exception& Error) {
        ShowErrorBox(QString::fromUtf8(Error.what()));
        return nullptr;
    }
}

} // namespace q7n::qt
