#include "app/FormWindows.h"

#include <algorithm>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>

#include "app/MdiArrange.h"
#include "app/Navigation.h"
#include "app/UserPrompts.h"
#include "forms/FormBase.h"
#include "ui/Artwork.h"

FormWindows::FormWindows(QMdiArea& client, FormContext& context, IUserPrompts& prompts, QObject* parent)
    : QObject(parent), client_(client), context_(context), prompts_(prompts)
{
}

FormWindows::~FormWindows()
{
    // The forms go before what they were given when created.
    for (auto& window : windows_)
        delete window.data();
}

void FormWindows::SetFormFactory(FormKind kind, FormFactory factory)
{
    factories_[static_cast<std::size_t>(kind)] = std::move(factory);
}

CFormBase* FormWindows::Form(FormKind kind) const { return FormIn(FormWindow(kind)); }

CFormBase* FormWindows::FormIn(const QMdiSubWindow* window)
{
    if (window == nullptr)
        return nullptr;
    if (const auto* scroller = qobject_cast<const QScrollArea*>(window->widget()))
        return qobject_cast<CFormBase*>(scroller->widget());
    return qobject_cast<CFormBase*>(window->widget());
}

QSize FormWindows::FittedFormSize(QSize specified, QSize available)
{
    if (available.isEmpty())
        return specified;
    return specified.boundedTo(available);
}

QMdiSubWindow* FormWindows::FormWindow(FormKind kind) const { return windows_[static_cast<std::size_t>(kind)]; }

void FormWindows::ApplyFormTitle(FormKind kind, QMdiSubWindow* window)
{
    if (const auto title = context_.navigation.WindowTitleFor(kind)) {
        const QString text = QString::fromStdString(*title);
        window->setWindowTitle(text);
        if (CFormBase* form = FormIn(window))
            form->setWindowTitle(text);
    }
}

void FormWindows::RemoveCommandKeys(QMdiSubWindow* window) const
{
    // The child window's system menu closes it with Ctrl+W on this platform, which is the Write
    // command's key; a key claimed twice would do nothing at all.
    if (QMenu* menu = window->systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            keys.removeIf([&](const QKeySequence& key) { return commandKeys_.contains(key); });
            action->setShortcuts(keys);
        }
    }
}

void FormWindows::OpenForm(FormKind kind)
{
    const FormInfo& info = FormInfoOf(kind);
    QPointer<QMdiSubWindow>& slot = windows_[static_cast<std::size_t>(kind)];
    if (slot) {
        ApplyFormTitle(kind, slot);
        if (slot->isMinimized())
            slot->showNormal();
        client_.setActiveSubWindow(slot);
        slot->show();
        if (info.reinitOnReopen)
            if (CFormBase* form = Form(kind))
                form->OnInitialUpdate();
        return;
    }

    const FormFactory& factory = factories_[static_cast<std::size_t>(kind)];
    if (!factory)
        return;  // this form is not part of the program yet
    CFormBase* form = factory(context_);
    if (form == nullptr)
        return;
    auto* window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The form fills its window and scrolls when the window is smaller than the form needs.
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("FormScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setWidget(form);
    window->setWidget(scroller);
    ConnectFormRequests(*form);
    window->setWindowIcon(ProgramIcon());
    RemoveCommandKeys(window);
    client_.addSubWindow(window);
    slot = window;
    ApplyFormTitle(kind, window);
    // The specified size where the client area holds it; on a smaller screen the window takes
    // what there is and the form scrolls inside it.
    const QSize available = client_.isVisible() ? client_.viewport()->size() : QSize();
    window->resize(FittedFormSize(QSize(info.width, info.height), available));
    window->move(0, 0);
    window->show();
    client_.setActiveSubWindow(window);
    form->OnInitialUpdate();
}

void FormWindows::ConnectFormRequests(CFormBase& form)
{
    connect(&form, &CFormBase::messageRequested, this, [this, &form](const QString& caption, const QString& text) {
        prompts_.ShowMessage(&form, caption, text, QMessageBox::Warning);
    });
    connect(&form, &CFormBase::treeRebuildRequested, this, &FormWindows::treeRebuildRequested);
    connect(&form, &CFormBase::formCloseRequested, this, &FormWindows::CloseForm);
    connect(&form, &CFormBase::zoneAndScanRefreshRequested, this, &FormWindows::RefreshZoneAndScanForms);
    connect(&form, &CFormBase::codeplugEdited, this, [this, &form] { emit formEdited(&form); });
}

void FormWindows::FollowCodeplug(const CFormBase* except)
{
    const bool was = following_;
    following_ = true;
    for (std::size_t i = 0; i < kFormKindCount; ++i) {
        const auto kind = static_cast<FormKind>(i);
        if (CFormBase* form = Form(kind); form != nullptr && form != except)
            ShowFormAfresh(kind);
    }
    following_ = was;
}

void FormWindows::ShowFormAfresh(FormKind kind)
{
    CFormBase* form = Form(kind);
    if (form == nullptr)
        return;
    const AppContext& app = context_.app;
    NavigationState& navigation = context_.navigation;
    if (const auto records = RecordsFor(kind, app.codeplug, app.alarms)) {
        std::uint32_t& index = navigation.Index(kind);
        if (index >= *records) {
            index = *records - 1;
            if (const auto label = ItemLabelFor(kind, index, app.text)) {
                navigation.Title(kind) = *label;
                ApplyFormTitle(kind, FormWindow(kind));
            }
        }
    }
    form->OnInitialUpdate();
}

void FormWindows::OpenRecordForm(const QString& section, int record, const QString& field)
{
    const auto shown = FormForRecord(section.toStdString(), static_cast<std::size_t>(std::max(record, 0)),
                                     field.toStdString());
    if (!shown)
        return;
    const auto [kind, index] = *shown;
    context_.navigation.Index(kind) = index;
    if (const auto label = ItemLabelFor(kind, index, context_.app.text))
        context_.navigation.Title(kind) = *label;
    OpenForm(kind);
}

void FormWindows::CloseActiveForm()
{
    QMdiSubWindow* active = client_.activeSubWindow();
    for (std::size_t i = 0; active != nullptr && i < kFormKindCount; ++i)
        if (windows_[i] == active)
            CloseForm(static_cast<FormKind>(i));
}

void FormWindows::CommitPendingEdits()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && client_.isAncestorOf(focus))
        focus->clearFocus();
}

void FormWindows::CloseForm(FormKind kind)
{
    QPointer<QMdiSubWindow>& slot = windows_[static_cast<std::size_t>(kind)];
    QMdiSubWindow* window = slot;
    if (window == nullptr)
        return;
    slot = nullptr;
    // The window goes at once; its objects are deleted when control is back in the event loop,
    // so a form may close others (or itself) from inside its own handlers.
    window->hide();
    client_.removeSubWindow(window);
    window->deleteLater();
}

void FormWindows::CloseAllForms()
{
    for (std::size_t i = 0; i < kFormKindCount; ++i) {
        const auto kind = static_cast<FormKind>(i);
        if (kind != FormKind::PasswordEC)
            CloseForm(kind);
    }
}

void FormWindows::RefreshZoneAndScanForms()
{
    CloseForm(FormKind::Zone);
    CloseForm(FormKind::Scan);
    NavigationState& navigation = context_.navigation;
    const Codeplug& codeplug = context_.app.codeplug;
    const auto scanLists = UsedRecords(GetCount(codeplug.ScanListCount), codeplug.ScanTable);
    for (std::uint32_t i = 0; i < scanLists; ++i) {
        navigation.Index(FormKind::Scan) = i;
        OpenForm(FormKind::Scan);
    }
    for (std::uint32_t zone = 0; zone < codeplug.ZoneTable.kCapacity; ++zone) {
        navigation.Index(FormKind::Zone) = zone;
        OpenForm(FormKind::Zone);
    }
    CloseForm(FormKind::Zone);
    CloseForm(FormKind::Scan);
}

void FormWindows::Tile() { client_.tileSubWindows(); }

void FormWindows::ArrangeIcons()
{
    std::vector<QMdiSubWindow*> minimised;
    std::vector<QSize> sizes;
    for (QMdiSubWindow* window : client_.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isMinimized() && window->isVisible()) {
            minimised.push_back(window);
            sizes.push_back(window->size());
        }
    }
    const std::vector<QPoint> positions = ArrangeIconPositions(client_.viewport()->size(), sizes);
    for (std::size_t i = 0; i < minimised.size(); ++i)
        minimised[i]->move(positions[i]);
}
