#include "ui/about_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace corvane::ui {

namespace {

QLabel* Line(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameShape(QFrame::StyledPanel);
    panel_->setFrameShadow(QFrame::Sunken);

    programIcon_ = new QLabel(panel_);
    programIcon_->setObjectName(QStringLiteral("ProgramIcon"));
    programIcon_->setPixmap(style()->standardIcon(QStyle::SP_DirHomeIcon).pixmap(48, 48));
    programIcon_->setAlignment(Qt::AlignHCenter);
    productName_ = Line(panel_, "ProductName", QStringLiteral("Corvane"));
    QFont bold = productName_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    productName_->setFont(bold);
    version_ = Line(panel_, "Version", QStringLiteral("Version " CORVANE_VERSION));
    lblBy_ = Line(panel_, "lblBy", QStringLiteral("by"));
    lblAuthor_ = Line(panel_, "lblAuthor", QStringLiteral("The Corvane developers"));
    lblContact_ = Line(panel_, "lblContact", QStringLiteral("Questions and reports: the project's issue tracker"));
    lblWeb_ = Line(panel_, "lblWeb", QStringLiteral("Sources and releases: the project's repository"));

    auto* panel = new QVBoxLayout(panel_);
    for (QWidget* widget : {static_cast<QWidget*>(programIcon_), static_cast<QWidget*>(productName_),
                            static_cast<QWidget*>(version_), static_cast<QWidget*>(lblBy_),
                            static_cast<QWidget*>(lblAuthor_), static_cast<QWidget*>(lblContact_),
                            static_cast<QWidget*>(lblWeb_)})
        panel->addWidget(widget);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    layout->addWidget(okButton_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(okButton_, &QPushButton::clicked, this, &TfrmAbout::okButtonClick);
}

void TfrmAbout::okButtonClick()
{
    accept();
}

}  // namespace corvane::ui
