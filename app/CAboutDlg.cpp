#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "ui/Artwork.h"

CAboutDlg::CAboutDlg(bool chinese, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(chinese ? QStringLiteral("关于 %1").arg(kProductName) : QStringLiteral("About %1").arg(kProductName));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* product = new QLabel(QString::fromLatin1(kProductName), this);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    product->setFont(bold);
    auto* version = new QLabel(QString::fromLatin1(kVersion), this);
    version->setObjectName("version");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(18);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(product, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
