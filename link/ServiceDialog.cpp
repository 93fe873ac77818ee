#include "link/ServiceDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>

#include "core/AppContext.h"
#include "link/CDialog_MSComm.h"
#include "link/PortNames.h"

CServiceDialog::CServiceDialog(AppContext& app, CDialog_MSComm& link, QWidget* parent)
    : QDialog(parent), app_(app), link_(link), worker_(std::make_unique<TransferThread>())
{
    showMessage_ = [this](const QString& caption, const QString& text) {
        QMessageBox box(messageIcon_, caption, text, QMessageBox::Ok, isVisible() ? this : parentWidget());
        box.exec();
    };
    busyRow_ = new QWidget(this);
    busyBar_ = new QProgressBar(busyRow_);
    busyBar_->setRange(0, 0);  // no end known: a moving bar
    busyBar_->setTextVisible(false);
    busyBar_->setMaximumWidth(120);
    busyLine_ = new QLabel(busyRow_);
    auto* row = new QHBoxLayout(busyRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(busyBar_);
    row->addWidget(busyLine_, 1);
    // The row keeps its height while hidden, so the dialog does not jump.
    QSizePolicy keep = busyRow_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    busyRow_->setSizePolicy(keep);
    busyRow_->hide();
}

CServiceDialog::~CServiceDialog()
{
    ClosePortOnWorker();
    worker_.reset();  // joins the thread after the jobs already posted
}

void CServiceDialog::ShowMessage(const QString& caption, const QString& text, QMessageBox::Icon icon)
{
    messageIcon_ = icon;
    showMessage_(caption, text);
}

void CServiceDialog::BeginBusy(const QString& what)
{
    busy_ = true;
    link_.SetDevice(ComDevicePath(app_.programDirectory, app_.settings.portNumber()).string());
    if (content_)
        content_->setEnabled(false);
    busyLine_->setText(what);
    busyRow_->show();
}

void CServiceDialog::EndBusy()
{
    busy_ = false;
    busyRow_->hide();
    busyLine_->clear();
    if (content_)
        content_->setEnabled(true);
}

void CServiceDialog::Deliver(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void CServiceDialog::ClosePortOnWorker()
{
    if (!worker_)
        return;
    CDialog_MSComm* link = &link_;
    worker_->queue().Post([link] {
        if (link->IsPortOpen())
            link->ClosePort();
    });
    worker_->queue().WaitIdle();
}

void CServiceDialog::done(int result)
{
    if (busy_)
        return;  // an exchange cannot be abandoned halfway
    ClosePortOnWorker();
    QDialog::done(result);
}

void CServiceDialog::reject()
{
    if (busy_)
        return;
    QDialog::reject();
}

void CServiceDialog::keyPressEvent(QKeyEvent* event)
{
    if (busy_ && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CServiceDialog::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
