// Widgets of windows, and the one place where Qt events become window
// messages. A message whose handler does not reach DefWindowProc is eaten; one
// that reaches it goes on to the widget's own handling (the native edit's
// typing, for example).

#include "platform/wnd/core/internal/widget_bridge.h"

#include <limits>
#include <map>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <QVariant>
#include <QWheelEvent>

#include "platform/base/cp949.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/sync.h"

namespace {

constexpr const char* kHwndProperty = "calvornHwnd";

QString ToQt(const CString& text)
{
    return QString::fromUtf8(text.GetString(), text.GetLength());
}

CString FromQt(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return CString(bytes.constData(), static_cast<int>(bytes.size()));
}

// A multi-line edit's text as the program sees it: every line end CR LF.
CString MultiLineText(const QString& shown)
{
    const CString typed = FromQt(shown);
    CString text;
    for (const char ch : typed.View()) {
        if (ch == '\n')
            text += '\r';
        if (ch != '\r')
            text += ch;
    }
    return text;
}

// The text as the widget shows it: line ends LF only.
CString ShownText(const CString& text)
{
    CString shown = text;
    shown.Replace("\r\n", "\n");
    return shown;
}

struct Registries {
    std::map<CString, wnd_internal::WidgetFactory> widgets;
    std::map<CString, wnd_internal::ControlObjectFactory> objects;
};

Registries& TheRegistries()
{
    static Registries* registries = new Registries;
    return *registries;
}

CString Upper(const char* text)
{
    CString s(text ? text : "");
    s.MakeUpper();
    return s;
}

struct PaintFrame {
    HWND hwnd;
    QRect rect;
};
std::vector<PaintFrame> g_paintFrames; // UI thread

// A plain window's widget: everything it shows comes from WM_PAINT.
class WndWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { }
};

DWORD StyleOf(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    return state ? state->style : 0;
}

// Tells the parent of a control about a notification (WM_COMMAND).
void NotifyParent(HWND hwnd, UINT code)
{
    HWND parent = nullptr;
    UINT id = 0;
    {
        std::lock_guard lock(window_table::Mutex());
        if (std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd)) {
            parent = state->parent;
            id = state->id;
        }
    }
    if (parent)
        dispatch_internal::Dispatch(parent, WM_COMMAND,
            MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)), reinterpret_cast<LPARAM>(hwnd));
}

void StoreTypedText(HWND hwnd, const QString& text)
{
    if (std::shared_ptr<WindowState> state = window_table::Find(hwnd)) {
        std::lock_guard lock(state->textMutex);
        state->text = FromQt(text);
        state->modified = true;
    }
    NotifyParent(hwnd, EN_CHANGE);
}

QWidget* MakeEdit(HWND hwnd, QWidget* parent)
{
    const DWORD style = StyleOf(hwnd);
    if (style & ES_MULTILINE) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly((style & ES_READONLY) != 0);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [hwnd, edit] {
            // The window text keeps the Windows line ends (CR LF); the limit
            // counts the bytes the text takes in CP949.
            const CString typed = MultiLineText(edit->toPlainText());
            const CString stored = GetWindowTextString(hwnd);
            if (stored == typed)
                return;
            std::shared_ptr<WindowState> state = window_table::Find(hwnd);
            if (state && state->limitText != 0 && Cp949Length(typed.View()) > state->limitText
                && Cp949Length(typed.View()) > Cp949Length(stored.View())) {
                const QSignalBlocker block(edit);
                edit->setPlainText(ToQt(ShownText(stored)));
                edit->moveCursor(QTextCursor::End);
                return;
            }
            StoreTypedText(hwnd, ToQt(typed));
        });
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setReadOnly((style & ES_READONLY) != 0);
    if (style & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    if (style & ES_NUMBER) // only digits from the keyboard; code may set any text
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    if (style & ES_RIGHT)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    else if (style & ES_CENTER)
        edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QObject::connect(
        edit, &QLineEdit::textEdited, edit, [hwnd](const QString& text) { StoreTypedText(hwnd, text); });
    return edit;
}

QWidget* MakeButton(HWND hwnd, QWidget* parent)
{
    const DWORD kind = StyleOf(hwnd) & 0x0F; // BS_TYPEMASK
    constexpr DWORD kGroupBox = 0x7;
    if (kind > 1) { // check boxes, radio buttons, group boxes: drawn by their classes
        auto* widget = new WndWidget(parent);
        // A group box lies above the controls it frames (it comes first) and
        // lets the mouse through to them.
        widget->setAttribute(Qt::WA_TransparentForMouseEvents, kind == kGroupBox);
        return widget;
    }
    auto* button = new QPushButton(parent);
    button->setDefault(kind == 1);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [hwnd] { NotifyParent(hwnd, BN_CLICKED); });
    return button;
}

// Text statics draw as Windows does: from the top, wrapped at word breaks
// (except the no-wrap and simple kinds), aligned by their SS_ style.
QWidget* MakeStatic(HWND hwnd, QWidget* parent)
{
    auto* label = new QLabel(parent);
    const DWORD kind = StyleOf(hwnd) & 0x1F;
    constexpr DWORD kLeft = 0x0, kCenter = 0x1, kRight = 0x2;
    if (kind == kLeft || kind == kCenter || kind == kRight) {
        label->setWordWrap(true);
        const Qt::Alignment horizontal
            = kind == kCenter ? Qt::AlignHCenter : (kind == kRight ? Qt::AlignRight : Qt::AlignLeft);
        label->setAlignment(horizontal | Qt::AlignTop);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    label->setTextFormat(Qt::PlainText);
    return label;
}

void EnsureDefaultFactories()
{
    static const bool done = [] {
        Registries& r = TheRegistries();
        r.widgets.emplace("EDIT", &MakeEdit);
        r.widgets.emplace("BUTTON", &MakeButton);
        r.widgets.emplace("STATIC", &MakeStatic);
        return true;
    }();
    (void)done;
}

UINT MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT MouseMessage(QEvent::Type type, Qt::MouseButton button)
{
    const int index = button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
    static constexpr UINT kDown[] = { WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN };
    static constexpr UINT kUp[] = { WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP };
    static constexpr UINT kDouble[] = { WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK };
    switch (type) {
    case QEvent::MouseButtonPress:
        return kDown[index];
    case QEvent::MouseButtonRelease:
        return kUp[index];
    case QEvent::MouseButtonDblClick:
        return kDouble[index];
    default:
        return WM_MOUSEMOVE;
    }
}

// Keys with their own virtual-key code; letters, digits and F-keys are ranges.
constexpr struct {
    int qt;
    UINT vk;
} kKeyTable[] = {
    { Qt::Key_Return, VK_RETURN },
    { Qt::Key_Enter, VK_RETURN },
    { Qt::Key_Escape, VK_ESCAPE },
    { Qt::Key_Tab, VK_TAB },
    { Qt::Key_Backtab, VK_TAB },
    { Qt::Key_Backspace, VK_BACK },
    { Qt::Key_Space, VK_SPACE },
    { Qt::Key_PageUp, VK_PRIOR },
    { Qt::Key_PageDown, VK_NEXT },
    { Qt::Key_End, VK_END },
    { Qt::Key_Home, VK_HOME },
    { Qt::Key_Left, VK_LEFT },
    { Qt::Key_Up, VK_UP },
    { Qt::Key_Right, VK_RIGHT },
    { Qt::Key_Down, VK_DOWN },
    { Qt::Key_Insert, VK_INSERT },
    { Qt::Key_Delete, VK_DELETE },
    { Qt::Key_Shift, VK_SHIFT },
    { Qt::Key_Control, VK_CONTROL },
    { Qt::Key_Alt, VK_MENU },
};

// Dispatches and reports whether the widget should still handle the event.
bool DispatchPassesOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool defaultReached = false;
    dispatch_internal::Dispatch(hwnd, message, wParam, lParam, &defaultReached);
    return defaultReached;
}

// Offers an input message to PreTranslateMessage; true when it was eaten.
bool PreTranslateInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    const QPoint global = QCursor::pos();
    msg.pt = POINT { global.x(), global.y() };
    return dispatch_internal::PreTranslate(&msg);
}

// The widget's own handling of an input event the window left to the default
// procedure. Input never travels on to parent widgets: on Windows it stays
// with the window it was meant for. Returns whether the widget accepted it.
bool LetWidgetHandle(QWidget* widget, QEvent* event)
{
    event->ignore();
    static_cast<QObject*>(widget)->event(event);
    return event->isAccepted();
}

constexpr DWORD kEsWantReturn = 0x1000;

// Return and Escape that no control wanted press the dialog's OK and Cancel.
void DialogKey(HWND hwnd, UINT vk)
{
    if (dispatch_internal::Dispatch(hwnd, WM_GETDLGCODE, vk, 0) & DLGC_WANTALLKEYS)
        return;
    HWND dialog = hwnd;
    {
        std::lock_guard lock(window_table::Mutex());
        std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
        if (!state)
            return;
        if (vk == VK_RETURN && state->className == "EDIT" && (state->style & ES_MULTILINE)
            && (state->style & kEsWantReturn))
            return;
        while (state && state->IsChild()) {
            state = window_table::FindLocked(state->parent);
            if (state)
                dialog = state->hwnd;
        }
        if (!state || state->className != "#32770")
            return;
    }
    dispatch_internal::Dispatch(dialog, WM_COMMAND,
        MAKEWPARAM(static_cast<WORD>(vk == VK_RETURN ? IDOK : IDCANCEL), static_cast<WORD>(BN_CLICKED)), 0);
}

// The look follows the window's own disabled state, as on Windows: the
// controls of a disabled window (the owner of a modal dialog) take no input
// but keep their look; a disabled control is grey, an edit on the face colour.
void ApplyDisabledLook(QWidget* widget, bool disabled)
{
    QPalette palette = widget->palette();
    const QPalette standard = QApplication::palette();
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
        const auto role = static_cast<QPalette::ColorRole>(r);
        if (role != QPalette::NoRole)
            palette.setColor(QPalette::Disabled, role,
                disabled ? standard.color(QPalette::Disabled, role) : palette.color(QPalette::Active, role));
    }
    if (disabled && (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget))) {
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        palette.setColor(
            QPalette::Disabled, QPalette::Base, QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    }
    widget->setPalette(palette);
}

// The widget shows the stored text.
void PutText(WindowState& state)
{
    QWidget* widget = state.widget;
    CString text;
    {
        std::lock_guard lock(state.textMutex);
        state.textPending = false;
        text = state.text;
    }
    const QString qtext = ToQt(text);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        if (line->text() != qtext)
            line->setText(qtext);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        const QString shown = ToQt(ShownText(text));
        if (plain->toPlainText() != shown)
            plain->setPlainText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtext);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtext);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(qtext);
    }
}

class EventBridge : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

EventBridge* Bridge()
{
    static EventBridge* bridge = new EventBridge;
    return bridge;
}

// Keeps the table in step with a top-level widget moved or sized by the system.
void SyncTopLevelGeometry(HWND hwnd, QWidget* widget)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state || state->IsChild())
        return;
    const QRect g = widget->geometry();
    CRect before;
    {
        std::lock_guard lock(window_table::Mutex());
        before = state->rect;
        state->rect = CRect(g.x(), g.y(), g.x() + g.width(), g.y() + g.height());
        state->maximized = widget->isMaximized();
    }
    if (before.Size() != CSize(g.width(), g.height()))
        dispatch_internal::Dispatch(hwnd, WM_SIZE, widget->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED,
            MAKELPARAM(static_cast<WORD>(g.width()), static_cast<WORD>(g.height())));
    if (before.TopLeft() != CPoint(g.x(), g.y()) && IsWindow(hwnd))
        dispatch_internal::Dispatch(
            hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(g.x()), static_cast<WORD>(g.y())));
}

// The characters a key press types; with Alt held, a letter or digit key
// types its own (lower-case) character when the system gave no text.
QString TypedText(const QKeyEvent& key, UINT vk, bool system)
{
    if (!system || !key.text().isEmpty())
        return system ? key.text().toLower() : key.text();
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return QString(QChar(vk)).toLower();
    return QString();
}

bool EventBridge::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    HWND hwnd = widget ? wnd_internal::HwndOfWidget(widget) : nullptr;
    if (!hwnd || !IsWindow(hwnd))
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        return !widget_bridge::RunPaint(hwnd, *static_cast<QPaintEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        // A disabled window takes no input: the mouse goes on to its parent.
        if (!widget->isEnabled())
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        const UINT message = MouseMessage(event->type(), mouse->button());
        const WPARAM wParam = MouseKeyState(mouse->buttons(), mouse->modifiers());
        const LPARAM lParam = MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
        if (!PreTranslateInput(hwnd, message, wParam, lParam)
            && DispatchPassesOn(hwnd, message, wParam, lParam) && IsWindow(hwnd))
            LetWidgetHandle(widget, event);
        event->accept();
        return true;
    }
    case QEvent::Wheel: {
        if (!widget->isEnabled())
            return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint p = wheel->globalPosition().toPoint();
        const WPARAM wParam
            = MAKEWPARAM(static_cast<WORD>(MouseKeyState(wheel->buttons(), wheel->modifiers())),
                static_cast<WORD>(static_cast<short>(wheel->angleDelta().y())));
        const LPARAM lParam = MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
        if (PreTranslateInput(hwnd, WM_MOUSEWHEEL, wParam, lParam))
            return true;
        // Unhandled wheel turns go on to the parent, as DefWindowProc sends them.
        return !DispatchPassesOn(hwnd, WM_MOUSEWHEEL, wParam, lParam);
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!widget->isEnabled()) {
            event->accept();
            return true;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const bool down = event->type() == QEvent::KeyPress;
        const UINT vk = widget_bridge::VirtualKeyFromQt(key->key());
        // Alt without Control makes the system key messages (menus' letters).
        const bool system = (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier;
        bool passOn = true;
        if (vk != 0) {
            const WORD flags = static_cast<WORD>(
                (down ? (key->isAutoRepeat() ? 0x4000 : 0) : 0xC000) | (system ? 0x2000 : 0));
            const UINT message
                = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
            const LPARAM lParam = MAKELPARAM(1, flags);
            if (PreTranslateInput(hwnd, message, vk, lParam)) {
                event->accept();
                return true;
            }
            passOn = DispatchPassesOn(hwnd, message, vk, lParam);
        }
        if (down && IsWindow(hwnd)) {
            const UINT charMessage = system ? WM_SYSCHAR : WM_CHAR;
            const LPARAM lParam = MAKELPARAM(1, system ? 0x2000 : 0);
            for (const QChar ch : TypedText(*key, vk, system)) {
                if (ch.isNull() || !IsWindow(hwnd))
                    continue;
                if (!PreTranslateInput(hwnd, charMessage, ch.unicode(), lParam))
                    passOn = DispatchPassesOn(hwnd, charMessage, ch.unicode(), lParam) && passOn;
            }
            if (system) {
                event->accept();
                return true;
            }
        }
        if (passOn && IsWindow(hwnd) && !LetWidgetHandle(widget, event) && down
            && (vk == VK_RETURN || vk == VK_ESCAPE) && IsWindow(hwnd))
            DialogKey(hwnd, vk);
        event->accept();
        return true;
    }
    case QEvent::Show:
        if (std::shared_ptr<WindowState> state = window_table::Find(hwnd)) {
            widget_bridge::NoteOnShow(*state, true);
            widget_bridge::FlushText(state);
        }
        return false;
    case QEvent::Hide:
        if (std::shared_ptr<WindowState> state = window_table::Find(hwnd))
            widget_bridge::NoteOnShow(*state, false);
        return false;
    case QEvent::FocusIn:
        if (window_focus::Focus() != hwnd)
            window_focus::SetFocusTo(hwnd);
        return false;
    case QEvent::Resize:
    case QEvent::Move:
        if (widget->isWindow())
            SyncTopLevelGeometry(hwnd, widget);
        return false;
    case QEvent::Close:
        event->ignore();
        dispatch_internal::Dispatch(hwnd, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

} // namespace

namespace widget_bridge {

bool IsRealized(const WindowState& state)
{
    return !state.widget.isNull();
}

void Realize(const std::shared_ptr<WindowState>& state)
{
    if (state->widget || state->destroying)
        return;
    EnsureDefaultFactories();
    HWND parent;
    CString className;
    CRect rect;
    DWORD style;
    {
        std::lock_guard lock(window_table::Mutex());
        parent = state->parent;
        className = state->className;
        rect = state->rect;
        style = state->style;
    }
    QWidget* parentWidget = nullptr;
    if (state->IsChild()) {
        std::shared_ptr<WindowState> parentState = window_table::Find(parent);
        if (!parentState)
            return;
        Realize(parentState);
        // Realizing the parent realizes its children, this window among them.
        if (state->widget)
            return;
        parentWidget = parentState->widget;
        if (!parentWidget)
            return;
    } else if (std::shared_ptr<WindowState> owner = window_table::Find(parent)) {
        if (owner->widget)
            parentWidget = owner->widget->window();
    }
    wnd_internal::WidgetFactory factory = nullptr;
    {
        Registries& r = TheRegistries();
        auto it = r.widgets.find(className);
        if (it != r.widgets.end())
            factory = it->second;
    }
    QWidget* widget = factory ? factory(state->hwnd, parentWidget) : new WndWidget(parentWidget);
    if (!state->IsChild())
        widget->setWindowFlags(widget->windowFlags() | Qt::Window);
    widget->setProperty(kHwndProperty, QVariant::fromValue(reinterpret_cast<quintptr>(state->hwnd)));
    widget->installEventFilter(Bridge());
    // Windows get WM_MOUSEMOVE with no button held too.
    widget->setMouseTracking(true);
    state->widget = widget;
    widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    widget->setEnabled(!(style & WS_DISABLED));
    ApplyDisabledLook(widget, (style & WS_DISABLED) != 0);
    ApplyText(state);
    if (state->IsChild()) {
        // A new child window goes to the bottom of its siblings' z-order: the
        // first control of a template stays on top of those after it.
        widget->lower();
        widget->setVisible((style & WS_VISIBLE) != 0);
    }

    std::vector<HWND> children;
    {
        std::lock_guard lock(window_table::Mutex());
        children = state->children;
    }
    for (HWND child : children) {
        std::shared_ptr<WindowState> childState = window_table::Find(child);
        if (childState && childState->IsChild())
            Realize(childState);
    }
}

void ApplyText(const std::shared_ptr<WindowState>& state)
{
    QWidget* widget = state->widget;
    if (!widget)
        return;
    // Laying out text is the costly part: a window not on show keeps its text
    // in the store until it is shown (the hidden mailbox edits take a text per
    // row of a load).
    if (widget->isVisible()) {
        PutText(*state);
    } else {
        std::lock_guard lock(state->textMutex);
        state->textPending = true;
    }
}

void FlushText(const std::shared_ptr<WindowState>& state)
{
    bool pending;
    {
        std::lock_guard lock(state->textMutex);
        pending = state->textPending;
    }
    if (state->widget && pending)
        PutText(*state);
}

void NoteOnShow(WindowState& state, bool onShow)
{
    std::lock_guard lock(state.textMutex);
    state.textOnShow = onShow;
}

void ApplyGeometry(const std::shared_ptr<WindowState>& state)
{
    if (!state->widget)
        return;
    CRect rect;
    {
        std::lock_guard lock(window_table::Mutex());
        rect = state->rect;
    }
    state->widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

void ApplyVisible(const std::shared_ptr<WindowState>& state, bool activate, int showCommand)
{
    QWidget* widget = state->widget;
    if (!widget)
        return;
    const bool visible = (StyleOf(state->hwnd) & WS_VISIBLE) != 0;
    if (!visible) {
        widget->hide();
        return;
    }
    if (!widget->isWindow()) {
        widget->show();
        return;
    }
    widget->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    switch (showCommand) {
    case SW_SHOWMAXIMIZED:
        widget->showMaximized();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        widget->showMinimized();
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        widget->showNormal();
        break;
    default:
        widget->show();
        break;
    }
}

void ApplyEnabled(const std::shared_ptr<WindowState>& state)
{
    if (!state->widget)
        return;
    const bool disabled = (StyleOf(state->hwnd) & WS_DISABLED) != 0;
    state->widget->setEnabled(!disabled);
    ApplyDisabledLook(state->widget, disabled);
    // Qt disables a widget's owned windows with it; a Windows owner does not:
    // the modal dialog of a disabled owner stays usable.
    for (QWidget* child : state->widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            continue;
        if (HWND owned = wnd_internal::HwndOfWidget(child))
            child->setEnabled(!(StyleOf(owned) & WS_DISABLED));
    }
}

void ApplyZOrder(const std::shared_ptr<WindowState>& state, bool top)
{
    if (!state->widget)
        return;
    if (top)
        state->widget->raise();
    else
        state->widget->lower();
}

void ReleaseWidget(WindowState& state)
{
    QWidget* widget = state.widget;
    if (!widget)
        return;
    widget->removeEventFilter(Bridge());
    widget->setProperty(kHwndProperty, QVariant());
    widget->hide();
    widget->deleteLater();
    NoteOnShow(state, false);
    state.widget = nullptr;
}

void Invalidate(const std::shared_ptr<WindowState>& state, const QRect* rect, bool erase)
{
    if (!state->redraw)
        return;
    QRect client;
    {
        std::lock_guard lock(window_table::Mutex());
        client = QRect(0, 0, state->rect.Width(), state->rect.Height());
    }
    const QRect area = rect ? rect->normalized().intersected(client) : client;
    if (area.isEmpty())
        return;
    state->dirty += area;
    state->erasePending = state->erasePending || erase;
    if (state->widget && state->widget->isVisible())
        wnd_internal::WithinFrame(
            reinterpret_cast<std::uintptr_t>(state->hwnd) << 2, [weak = std::weak_ptr(state)] {
                std::shared_ptr<WindowState> window = weak.lock();
                if (window && window->widget && window->widget->isVisible() && !window->dirty.isEmpty())
                    window->widget->update(window->dirty);
            });
}

void Validate(const std::shared_ptr<WindowState>& state, const QRect* rect)
{
    if (rect)
        state->dirty = state->dirty.subtracted(QRegion(*rect));
    else
        state->dirty = QRegion();
}

void UpdateNow(const std::shared_ptr<WindowState>& state)
{
    if (state->dirty.isEmpty() || !state->widget || !state->widget->isVisible())
        return;
    state->widget->repaint(state->dirty);
}

void GiveFocus(const std::shared_ptr<WindowState>& state)
{
    if (state->widget && state->widget->isVisible())
        state->widget->setFocus(Qt::OtherFocusReason);
}

// The offscreen platform (tests) cannot grab; its implicit grab while a button
// is held is all the capture it has.
bool CanGrab()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

void GrabMouse(const std::shared_ptr<WindowState>& state)
{
    if (state->widget && state->widget->isVisible() && CanGrab())
        state->widget->grabMouse();
}

void ReleaseMouse(const std::shared_ptr<WindowState>& state)
{
    if (state->widget && CanGrab() && QWidget::mouseGrabber() == state->widget)
        state->widget->releaseMouse();
}

UINT VirtualKeyFromQt(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    for (const auto& entry : kKeyTable)
        if (entry.qt == key)
            return entry.vk;
    return 0;
}

int QtKeyFromVirtual(UINT vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + static_cast<int>(vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + static_cast<int>(vk - '0');
    if (vk >= VK_F1 && vk < VK_F1 + 24)
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    for (const auto& entry : kKeyTable)
        if (entry.vk == vk)
            return entry.qt;
    return 0;
}

QRect ScreenRect()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return QRect(0, 0, 1024, 768);
}

} // namespace widget_bridge

namespace window_focus {

namespace {
HWND g_focus = nullptr; // UI thread
}

HWND Focus()
{
    if (g_focus && !IsWindow(g_focus))
        g_focus = nullptr;
    return g_focus;
}

HWND SetFocusTo(HWND hwnd)
{
    HWND previous = Focus();
    if (previous == hwnd)
        return previous;
    if (hwnd && !IsWindow(hwnd))
        return previous;
    g_focus = hwnd;
    if (previous)
        dispatch_internal::Dispatch(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && g_focus == hwnd) {
        if (std::shared_ptr<WindowState> state = window_table::Find(hwnd))
            widget_bridge::GiveFocus(state);
        dispatch_internal::Dispatch(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

} // namespace window_focus

namespace wnd_internal {

QWidget* WidgetOf(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return nullptr;
    widget_bridge::Realize(state);
    return state->widget;
}

void ApplyWindowIcon(HWND hwnd, HICON icon)
{
    QWidget* widget = WidgetOf(hwnd);
    if (!widget || !widget->isWindow())
        return;
    const QImage image = icon ? GdiIconImage(icon) : QImage();
    widget->setWindowIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
}

QWidget* ExistingWidgetOf(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    return state ? state->widget.data() : nullptr;
}

HWND HwndOfWidget(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    const QVariant value = widget->property(kHwndProperty);
    return value.isValid() ? reinterpret_cast<HWND>(value.value<quintptr>()) : nullptr;
}

BOOL GetPaintRect(HWND hwnd, QRect* rect)
{
    for (auto it = g_paintFrames.rbegin(); it != g_paintFrames.rend(); ++it) {
        if (it->hwnd == hwnd) {
            if (rect)
                *rect = it->rect;
            return TRUE;
        }
    }
    return FALSE;
}

void RegisterWidgetFactory(const char* className, WidgetFactory factory)
{
    EnsureDefaultFactories();
    TheRegistries().widgets[Upper(className)] = factory;
}

void RegisterControlObjectFactory(const char* className, ControlObjectFactory factory)
{
    TheRegistries().objects[Upper(className)] = factory;
}

CWnd* MakeControlObject(const char* className)
{
    Registries& r = TheRegistries();
    auto it = r.objects.find(Upper(className));
    return it != r.objects.end() ? it->second() : nullptr;
}

BOOL TakeErasePending(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state || !state->erasePending)
        return FALSE;
    state->erasePending = false;
    return TRUE;
}

CString ClassNameOf(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    return state ? state->className : CString();
}

} // namespace wnd_internal

namespace widget_bridge {

bool RunPaint(HWND hwnd, const QPaintEvent& paint)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return true;
    state->dirty = state->dirty.subtracted(paint.region());
    g_paintFrames.push_back(PaintFrame { hwnd, paint.rect() });
    const bool passOn = DispatchPassesOn(hwnd, WM_PAINT, 0, 0);
    g_paintFrames.pop_back();
    state->erasePending = false;
    return passOn;
}

} // namespace widget_bridge

namespace wnd_internal {

namespace {

constexpr int kFrameMilliseconds = 20;
QElapsedTimer g_frame; // since the frame began; UI thread
// The frame's changes have gone to the event loop (it turned since the
// frame's first change): later ones wait for the next frame.
bool g_frameClosed = false;
bool g_closing = false;
std::map<std::uintptr_t, std::function<void()>> g_deferred; // UI thread

void BeginFrame()
{
    g_frame.start();
    g_frameClosed = false;
    g_closing = false;
}

void RunDeferred()
{
    std::map<std::uintptr_t, std::function<void()>> due;
    due.swap(g_deferred);
    BeginFrame();
    for (auto& [key, fn] : due)
        fn();
}

} // namespace

void WithinFrame(std::uintptr_t key, std::function<void()> fn)
{
    if (!g_frame.isValid() || g_frame.elapsed() >= kFrameMilliseconds)
        BeginFrame();
    if (!g_frameClosed) {
        // Until the event loop turns, changes join the paint to come.
        if (!g_closing) {
            g_closing = true;
            QTimer::singleShot(0, [] { g_frameClosed = g_closing; });
        }
        g_deferred.erase(key);
        fn();
        return;
    }
    if (g_deferred.empty())
        QTimer::singleShot(static_cast<int>(kFrameMilliseconds - g_frame.elapsed()), &RunDeferred);
    g_deferred[key] = std::move(fn);
}

} // namespace wnd_internal
