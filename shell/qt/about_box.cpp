#include "shell/qt/about_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "platform/messages.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/icons.h"
#include "shell/qt/text.h"
#include "shell/shell_ui.h"
#include "shell/startup.h"

namespace dv::qt {

QString FindSystemInfoTool() {
    for (const char* tool : kSystemInfoTools) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty()) return path;
    }
    return {};
}

AboutBox::AboutBox(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      title_(new QLabel(this)),
      version_(new QLabel(this)),
      ok_(new QPushButton("OK", this)),
      sys_info_(new QPushButton("&Sys Info", this)) {
    setObjectName("frmAbout");
    setWindowTitle(ToQ(kAboutCaption));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setPixmap(LogoPixmap(64));
    title_->setObjectName("lblTitle");
    title_->setText(ToQ(kAboutTitle));
    QFont font = title_->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    title_->setFont(font);
    version_->setObjectName("lblVersion");
    version_->setText(ToQ(VersionText()));
    auto* disclaimer = new QLabel(ToQ(LegalNotice()), this);
    disclaimer->setObjectName("lblDisclaimer");
    disclaimer->setWordWrap(true);
    ok_->setObjectName("cmdOk");
    ok_->setDefault(true);
    sys_info_->setObjectName("cmdSysInfo");

    auto* names = new QVBoxLayout;
    names->addWidget(title_);
    names->addWidget(version_);
    names->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(names, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(sys_info_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(disclaimer, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    setMinimumWidth(420);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(sys_info_, &QPushButton::clicked, this, &AboutBox::StartSysInfo);
}

void AboutBox::StartSysInfo() {
    const QString tool = FindSystemInfoTool();
    if (!tool.isEmpty() && dialogs_.StartProgram(tool)) return;
    dialogs_.Message(this, ToQ(platform::kApplicationTitle), ToQ(kSysInfoUnavailable),
                     DialogIcon::kNone);
}

}  // namespace dv::qt
