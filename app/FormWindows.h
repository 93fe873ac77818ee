#pragma once
// The editing forms in the main window's MDI area: each kind of form has at most one child
// window, created by its factory when first opened. Every open form shows the codeplug again
// from its records when the codeplug changes elsewhere. The Window menu's commands act here too.
#include <array>
#include <functional>

#include <QList>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QSize>

#include "core/NavigationState.h"

class CFormBase;
class IUserPrompts;
class QMdiArea;
class QMdiSubWindow;
struct FormContext;

class FormWindows : public QObject {
    Q_OBJECT
public:
    using FormFactory = std::function<CFormBase*(FormContext&)>;

    FormWindows(QMdiArea& client, FormContext& context, IUserPrompts& prompts, QObject* parent = nullptr);
    ~FormWindows() override;

    void SetFormFactory(FormKind kind, FormFactory factory);
    // The main window's command keys: a child window's system menu may not claim them.
    void KeepCommandKeys(QList<QKeySequence> keys) { commandKeys_ = std::move(keys); }

    void OpenForm(FormKind kind);
    void CloseForm(FormKind kind);
    void CloseAllForms();  // all but the programming password settings form
    void CloseActiveForm();  // Window › Close window (Ctrl+F4)
    // Every open form but `except` shows the codeplug again from its records: its lists filled
    // from the current counts, its current record shown (the nearest one that exists when its
    // record is gone).
    void FollowCodeplug(const CFormBase* except = nullptr);
    // True while forms are shown afresh: what they repair then is part of the change followed.
    bool Following() const { return following_; }
    void RefreshZoneAndScanForms();
    // Opens the form that shows record `record` (0-based) of a codeplug section ("zones"), the
    // field telling which form where a block has two.
    void OpenRecordForm(const QString& section, int record, const QString& field = {});
    // Text typed into a form's box counts once the box loses the focus: it loses it now.
    void CommitPendingEdits();
    void Tile();
    void ArrangeIcons();  // minimised windows in rows along the bottom

    CFormBase* Form(FormKind kind) const;
    QMdiSubWindow* FormWindow(FormKind kind) const;
    // The form a child window holds (inside its scroll area); null for none.
    static CFormBase* FormIn(const QMdiSubWindow* window);
    // A form window's size: the specified size, cut to the client area where that is smaller
    // (an empty `available` leaves the specified size).
    static QSize FittedFormSize(QSize specified, QSize available);

signals:
    void treeRebuildRequested();
    void formEdited(const CFormBase* form);  // a form changed the codeplug

private:
    // A new form's requests (tree rebuild, other forms closed or refreshed, messages) and its
    // changes of the codeplug reach this object.
    void ConnectFormRequests(CFormBase& form);
    void ShowFormAfresh(FormKind kind);
    void ApplyFormTitle(FormKind kind, QMdiSubWindow* window);
    void RemoveCommandKeys(QMdiSubWindow* window) const;

    QMdiArea& client_;
    FormContext& context_;
    IUserPrompts& prompts_;
    QList<QKeySequence> commandKeys_;
    std::array<QPointer<QMdiSubWindow>, kFormKindCount> windows_;
    std::array<FormFactory, kFormKindCount> factories_;
    bool following_ = false;
};
