#include "ServiceConfiguratorDialog.h"

#include "GradientRule.h"
#include "QtTimer.h"
#include "ScreenPlacement.h"
#include "ServicePaths.h"
#include "ServiceState.h"

#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <filesystem>

// The pictures live in a resource file of a static library, which the program must register.
static void RegisterPictures() {
    Q_INIT_RESOURCE(app);
}

namespace q7n::gui {

namespace {

constexpr int ClientWidth = 565;
constexpr int ClientHeight = 271;
constexpr TColor InitialStateColor = 0x003DC240; // green, until the first poll

QColor FromWindowsColor(TColor Color) {
    return QColor(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

QFont Cambria(int PixelSize, bool Bold = false) {
    QFont Font("Cambria");
    Font.setPixelSize(PixelSize);
    Font.setBold(Bold);
    return Font;
}

QLabel* MakeLabel(QWidget* Parent, const char* Name, const QString& Text, const QFont& Font,
                  const QColor& Color, const QRect& Place) {
    auto* Label = new QLabel(Text, Parent);
    Label->setObjectName(Name);
    Label->setFont(Font);
    QPalette Colours = Label->palette();
    Colours.setColor(QPalette::WindowText, Color);
    Label->setPalette(Colours);
    Label->setAttribute(Qt::WA_TranslucentBackground);
    Label->setGeometry(Place);
    // Labels take the size of their text, so that a fallback face never cuts a caption off.
    Label->adjustSize();
    Label->move(Place.topLeft());
    return Label;
}

// A picture from the program's SVG resources, drawn at its place's size keeping its proportions.
QLabel* MakePicture(QWidget* Parent, const char* Name, const QString& Resource,
                    const QRect& Place) {
    auto* Picture = new QLabel(Parent);
    Picture->setObjectName(Name);
    Picture->setGeometry(Place);
    Picture->setAttribute(Qt::WA_TranslucentBackground);
    QSvgRenderer Renderer(Resource);
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

QPushButton* MakeButton(QWidget* Parent, const char* Name, const QString& Caption,
                        const QRect& Place) {
    auto* Button = new QPushButton(Caption, Parent);
    Button->setObjectName(Name);
    Button->setGeometry(Place);
    Button->setAutoDefault(false);
    return Button;
}

QAction* MakeAction(QWidget* Parent, const char* Name, const QString& Caption) {
    auto* Action = new QAction(Caption, Parent);
    Action->setObjectName(Name);
    Action->setProperty("Category", "Service");
    Parent->addAction(Action);
    return Action;
}

} // namespace

TdlgServiceConfigurator::TdlgServiceConfigurator(platform::IServiceControlManager* Platform,
                                                 IPortsEditDialogs* Dialogs)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    if (!Platform) {
        FOwnPlatform = platform::CreateHostServiceControlManager();
        Platform = FOwnPlatform.get();
    }
    FPlatform = Platform;
    RegisterPictures();
    CreateControls();
    FormCreate(Dialogs);
}

TdlgServiceConfigurator::~TdlgServiceConfigurator() {
    FormDestroy();
}

void TdlgServiceConfigurator::CreateControls() {
    setObjectName("dlgServiceConfigurator");
    setWindowTitle("Q7NService - Конфигуратор");
    setFixedSize(ClientWidth, ClientHeight);
    QPalette Background = palette();
    Background.setColor(QPalette::Window, Qt::white);
    setPalette(Background);
    setAutoFillBackground(true);
    QFont Default("MS Sans Serif");
    Default.setPixelSize(11);
    setFont(Default);

    const QColor Navy(0x00, 0x00, 0x80);
    Label1 =
        MakeLabel(this, "Label1", "Управление сервисом", Cambria(19), Qt::black, {99, 43, 186, 22});
    (new TGradientRule(this))->setGeometry(96, 71, 430, 2);
    Label3 = MakeLabel(this, "Label3", "Статус:", Cambria(13, true), Navy, {70, 100, 45, 15});
    ServiceStatusLb = MakeLabel(this, "ServiceStatusLb", "-", Cambria(13, true),
                                FromWindowsColor(InitialStateColor), {118, 100, 10, 15});
    Image2 = MakePicture(this, "Image2", ":/q7n/gears.svg", {42, 44, 46, 38});

    Button1 = MakeButton(this, "Button1", "Старт", {206, 92, 99, 25});
    Button2 = MakeButton(this, "Button2", "Стоп", {206, 116, 99, 25});
    Button3 = MakeButton(this, "Button3", "Перезапустить", {206, 148, 99, 25});
    Button5 = MakeButton(this, "Button5", "Install", {424, 92, 97, 25});
    btn1 = MakeButton(this, "btn1", "UnInstall", {424, 116, 97, 25});

    Image1 = MakePicture(this, "Image1", ":/q7n/computer-tools.svg", {42, 178, 48, 47});
    Label2 = MakeLabel(this, "Label2", "Опции ", Cambria(19), Qt::black, {99, 174, 60, 22});
    (new TGradientRule(this))->setGeometry(96, 202, 430, 2);
    btnEdit = MakeButton(this, "btnEdit", "Редактировать", {208, 224, 97, 25});

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button5);
    setTabOrder(Button5, btn1);
    setTabOrder(btn1, btnEdit);

    // The service buttons run commands; they keep their own captions.
    actStart = MakeAction(this, "actStart", "Start");
    actStop = MakeAction(this, "actStop", "Stop");
    actReboot = MakeAction(this, "actReboot", "Restart");
    connect(actStart, &QAction::triggered, this, [this] { actStartExecute(); });
    connect(actStop, &QAction::triggered, this, [this] { actStopExecute(); });
    connect(actReboot, &QAction::triggered, this, [this] { actRebootExecute(); });
    connect(Button1, &QPushButton::clicked, actStart, &QAction::trigger);
    connect(Button2, &QPushButton::clicked, actStop, &QAction::trigger);
    connect(Button3, &QPushButton::clicked, actReboot, &QAction::trigger);
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(btn1, &QPushButton::clicked, this, [this] { btn1Click(); });
    connect(btnEdit, &QPushButton::clicked, this, [this] { btnEditClick(); });
}

void TdlgServiceConfigurator::FormCreate(IPortsEditDialogs* Dialogs) {
    FConfigurator =
        std::make_unique<TServiceConfigurator>(*FPlatform, FClock, std::make_unique<TQtTimer>());
    FConfigurator->FServiceName = "Q7NSrv";
    FConfigurator->FServicePath = ServiceExecutablePath(std::filesystem::current_path().string());
    FConfigurator->FPortsFile = PortsFilePath(std::filesystem::current_path().string());
    FConfigurator->FDlg = this;
    FConfigurator->FPortsDialogs = Dialogs;
    FConfigurator->Start();
}

void TdlgServiceConfigurator::FormDestroy() {
    FConfigurator.reset();
}

void TdlgServiceConfigurator::ServiceStateChanged() {
    TServiceState State = FConfigurator->State();
    if (State >= ServiceStateCount)
        State = 0;
    QPalette Colours = ServiceStatusLb->palette();
    Colours.setColor(QPalette::WindowText, FromWindowsColor(ServiceStateColors[State]));
    ServiceStatusLb->setPalette(Colours);
    ServiceStatusLb->setText(QString::fromUtf8(ServiceStateCaptions[State]));
    ServiceStatusLb->adjustSize();
}

void TdlgServiceConfigurator::showEvent(QShowEvent* Event) {
    if (!FCentred) {
        FCentred = true;
        CentreOnScreen(*this);
    }
    QWidget::showEvent(Event);
}

} // namespace q7n::gui
