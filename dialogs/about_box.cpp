#include "dialogs/about_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "device/about_texts.h"
#include "dialogs/centre_on_window.h"

namespace qx40 {

TAboutBox::TAboutBox(ScopeSession& session, QWidget* mainWindow, const QIcon& programIcon)
    : QDialog(mainWindow), session_(session), mainWindow_(mainWindow) {
    setObjectName("AboutBox");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        return l;
    };
    programIcon_ = label("ProgramIcon");
    programIcon_->setPixmap(programIcon.pixmap(64, 64));
    programIcon_->setAlignment(Qt::AlignTop);
    productName_ = label("ProductName");
    QFont bold = productName_->font();
    bold.setBold(true);
    productName_->setFont(bold);
    version_ = label("Version");
    version1_ = label("Version1");
    version2_ = label("Version2");
    labelSN_ = label("Label_SN");
    for (QLabel* l : {productName_, version_, version1_, version2_, labelSN_})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName("OKButton");
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(productName_);
    texts->addSpacing(8);
    for (QLabel* l : {version_, version1_, version2_, labelSN_}) texts->addWidget(l);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(programIcon_);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::Run() {
    const ScopeSession::BusyHold busy(session_);
    FormShow();
    adjustSize();
    CentreOnWindow(*this, mainWindow_);
    exec();
}

void TAboutBox::FormShow() {
    const AboutTexts t =
        MakeAboutTexts(session_.Shared().facts.Get(), session_.Shared().flags, session_.State());
    setWindowTitle(QString::fromStdString(t.title));
    productName_->setText(QString::fromStdString(t.productName));
    version_->setText(QString::fromStdString(t.version));
    version1_->setText(QString::fromStdString(t.firmware));
    version2_->setText(QString::fromStdString(t.fpga));
    labelSN_->setText(QString::fromStdString(t.serial));
    labelSN_->setVisible(t.serialShown);
    okButton_->setFocus();
}

}  // namespace qx40
