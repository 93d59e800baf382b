#include "dialogs/qt/ButtonStrip.h"

#include "windowing/qt/PushButton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QPushButton>

namespace q7n::qt {

QPushButton* NonDefaultButton(const char* Text, const char* Name) {
    auto* Button = new TPushButton(QString::fromLatin1(Text));
    Button->setObjectName(QString::fromLatin1(Name));
    Button->setAutoDefault(false);
    return Button;
}

void AddButtonStrip(QBoxLayout& Form, QPushButton& Cancel, QPushButton& OK) {
    auto* Separator = new QFrame;
    Separator->setFrameShape(QFrame::HLine);
    Separator->setFrameShadow(QFrame::Sunken);
    Form.addWidget(Separator);

    auto* Buttons = new QHBoxLayout;
    Buttons->setContentsMargins(8, 0, 8, 0);
    Buttons->addStretch();
    Buttons->addWidget(&Cancel);
    Buttons->addWidget(&OK);
    Form.addLayout(Buttons);
}

} // namespace q7n::qt
