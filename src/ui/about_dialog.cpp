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

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(style()->standardIcon(QStyle::SP_DirHomeIcon).pixmap(48, 48));
    ProgramIcon->setAlignment(Qt::AlignHCenter);
    ProductName = Line(Panel1, "ProductName", QStringLiteral("Corvane"));
    QFont bold = ProductName->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    ProductName->setFont(bold);
    Version = Line(Panel1, "Version", QStringLiteral("Version " CORVANE_VERSION));
    lblBy = Line(Panel1, "lblBy", QStringLiteral("by"));
    lblAuthor = Line(Panel1, "lblAuthor", QStringLiteral("The Corvane developers"));
    lblContact = Line(Panel1, "lblContact", QStringLiteral("Questions and reports: the project's issue tracker"));
    lblWeb = Line(Panel1, "lblWeb", QStringLiteral("Sources and releases: the project's repository"));

    auto* panel = new QVBoxLayout(Panel1);
    for (QWidget* widget : {static_cast<QWidget*>(ProgramIcon), static_cast<QWidget*>(ProductName),
                            static_cast<QWidget*>(Version), static_cast<QWidget*>(lblBy),
                            static_cast<QWidget*>(lblAuthor), static_cast<QWidget*>(lblContact),
                            static_cast<QWidget*>(lblWeb)})
        panel->addWidget(widget);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &TfrmAbout::OKButtonClick);
}

void TfrmAbout::OKButtonClick()
{
    accept();
}

}  // namespace corvane::ui
