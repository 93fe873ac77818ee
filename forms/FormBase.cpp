#include "forms/FormBase.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaMethod>
#include <QMessageBox>

#include "ui/QtText.h"
#include "forms/channels/Encodings.h"
#include "ui/NameBox.h"

namespace {
// Texts of the name boxes: 1 how names are measured, 2 a character the radio cannot show.
constexpr const char* kNameTextSection = "Names";
}  // namespace

CFormBase::CFormBase(FormContext& context, FormKind kind, const char* textSection, QWidget* parent)
    : QWidget(parent), context_(context), kind_(kind), section_(textSection)
{
    setObjectName(QString::fromLatin1(FormInfoOf(kind).className));
}

void CFormBase::OnInitialUpdate()
{
    const bool wasShowing = showing_;
    showing_ = true;  // filling lists fires change signals too
    InitialiseControls();
    showing_ = wasShowing;
    Show();
}

void CFormBase::Show()
{
    const bool wasShowing = showing_;
    showing_ = true;
    ShowRecord();
    showing_ = wasShowing;
}

void CFormBase::CommitThenShow()
{
    if (showing_)
        return;
    const EditScope edit(*this);
    Commit();
    Show();
}

CFormBase::EditScope::~EditScope()
{
    if (--form_.editDepth_ == 0)
        emit form_.codeplugEdited();
}

QString CFormBase::Text(int key) const { return QText(context_.app.text, section_, key); }

QString CFormBase::Text(const char* section, int key) const { return QText(context_.app.text, section, key); }

AppContext& CFormBase::Context() const { return context_.app; }

Codeplug& CFormBase::CodeplugImage() const { return context_.app.codeplug; }

NavigationState& CFormBase::Navigation() const { return context_.navigation; }

std::uint32_t CFormBase::CurrentIndex() const { return context_.navigation.Index(kind_); }

void CFormBase::SetCurrentIndex(std::uint32_t index) { context_.navigation.Index(kind_) = index; }

void CFormBase::SetFormTitle(const QString& title)
{
    setWindowTitle(title);
    // The form sits in a scroll area inside its child window.
    for (QWidget* up = parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(up)) {
            frame->setWindowTitle(title);
            break;
        }
    }
}

void CFormBase::LimitName(QLineEdit* box, std::size_t maxChars, std::size_t fieldBytes, bool asTyped)
{
    box->setMaxLength(static_cast<int>(maxChars));
    const auto problem = [=](const std::string& text) {
        return NameProblem(asTyped ? text : TrimBlanks(text), maxChars, fieldBytes);
    };
    const auto explain = [this](const std::string& reason) {
        // Characters the radio cannot show, or a name that no longer fits.
        return Text(kNameTextSection, reason.find("cannot show") != std::string::npos ? 2 : 1);
    };
    box->setValidator(new NameValidator(problem, explain, box));
    box->setToolTip(Text(kNameTextSection, 1));
}

QLabel* CFormBase::NewRunOnlyNote()
{
    constexpr int kRunOnly = 57;  // section "Pub"
    auto* note = new QLabel(Text("Pub", kRunOnly), this);
    note->setObjectName(QStringLiteral("runOnlyNote"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("QLabel { background: #fff6d5; color: #5a4500; border: 1px solid #e2c66a;"
                                       " border-radius: 3px; padding: 5px 8px; }"));
    return note;
}

void CFormBase::ShowMessage(const QString& caption, const QString& text)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&CFormBase::messageRequested)))
        emit messageRequested(caption, text);
    else
        QMessageBox::warning(this, caption, text);
}

void CFormBase::RequestTreeRebuild()
{
    ExpansionFlags& flags = context_.navigation.expansion;
    switch (kind_) {
    case FormKind::DigitalChannel: flags.digitalChannels = true; break;
    case FormKind::AnalogChannel: flags.analogChannels = true; break;
    case FormKind::Scan: flags.scanLists = true; break;
    case FormKind::DmrRxGrpList: flags.rxGroupLists = true; break;
    default: break;
    }
    emit treeRebuildRequested();
}
