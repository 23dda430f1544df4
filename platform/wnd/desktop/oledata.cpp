#include "platform/wnd/desktop/oledata.h"

#include <map>

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

DragLoopHook g_dragHook;
std::map<HWND, COleDropTarget*> g_targets;

QClipboard* Clipboard()
{
    return qApp ? QGuiApplication::clipboard() : nullptr;
}

DWORD KeyStateOf(Qt::KeyboardModifiers mods)
{
    DWORD state = 0;
    if (mods & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (mods & Qt::ShiftModifier)
        state |= MK_SHIFT;
    return state;
}

Qt::DropAction ActionOf(DROPEFFECT effect)
{
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

// Turns Qt's drag events over a widget into the target's calls.
class DropFilter : public QObject {
public:
    DropFilter(COleDropTarget* target, HWND hwnd)
        : m_target(target)
        , m_hwnd(hwnd)
    { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        CWnd* wnd = CWnd::FromHandle(m_hwnd);
        if (!wnd)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!drag->mimeData()->hasText())
                return false;
            COleDataObject data;
            data.AttachText(CString(drag->mimeData()->text().toStdString()));
            const QPoint p = drag->position().toPoint();
            const DWORD keys = KeyStateOf(drag->modifiers());
            const DROPEFFECT effect = event->type() == QEvent::DragEnter
                ? m_target->OnDragEnter(wnd, &data, keys, CPoint(p.x(), p.y()))
                : m_target->OnDragOver(wnd, &data, keys, CPoint(p.x(), p.y()));
            if (effect == DROPEFFECT_NONE) {
                drag->ignore();
            } else {
                drag->setDropAction(ActionOf(effect));
                drag->accept();
            }
            m_lastEffect = effect;
            return true;
        }
        case QEvent::DragLeave:
            m_target->OnDragLeave(wnd);
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            COleDataObject data;
            data.AttachText(CString(drop->mimeData()->text().toStdString()));
            const QPoint p = drop->position().toPoint();
            if (m_target->OnDrop(wnd, &data, m_lastEffect, CPoint(p.x(), p.y()))) {
                drop->setDropAction(ActionOf(m_lastEffect));
                drop->accept();
            } else {
                drop->ignore();
            }
            return true;
        }
        default:
            return false;
        }
    }

private:
    COleDropTarget* m_target;
    HWND m_hwnd;
    DROPEFFECT m_lastEffect = DROPEFFECT_NONE;
};

} // namespace

BOOL IsClipboardFormatAvailable(UINT format)
{
    QClipboard* clipboard = Clipboard();
    if (!clipboard || (format != CF_TEXT && format != CF_UNICODETEXT))
        return FALSE;
    const QMimeData* mime = clipboard->mimeData();
    return mime && mime->hasText();
}

BOOL EmptyClipboard()
{
    QClipboard* clipboard = Clipboard();
    if (!clipboard)
        return FALSE;
    clipboard->clear();
    return TRUE;
}

void COleDataSource::CacheText(const CString& text)
{
    m_text = text;
    m_bHasText = TRUE;
}

void COleDataSource::SetClipboard()
{
    if (QClipboard* clipboard = Clipboard())
        clipboard->setText(QString::fromUtf8(m_text.GetString(), m_text.GetLength()));
    delete this;
}

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT allowed)
{
    if (g_dragHook)
        return g_dragHook(*this, allowed);
    QWidget* source = QApplication::focusWidget();
    if (!source)
        return DROPEFFECT_NONE;
    auto* drag = new QDrag(source);
    auto* mime = new QMimeData;
    mime->setText(QString::fromUtf8(m_text.GetString(), m_text.GetLength()));
    drag->setMimeData(mime);
    Qt::DropActions actions;
    if (allowed & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (allowed & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    switch (drag->exec(actions)) {
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    case Qt::MoveAction:
        return DROPEFFECT_MOVE;
    default:
        return DROPEFFECT_NONE;
    }
}

BOOL COleDataObject::AttachClipboard()
{
    QClipboard* clipboard = Clipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    if (!mime || !mime->hasText())
        return FALSE;
    AttachText(CString(mime->text().toStdString()));
    return TRUE;
}

void COleDataObject::AttachText(const CString& text)
{
    m_text = text;
    m_bHasText = TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format) const
{
    return m_bHasText && (format == CF_TEXT || format == CF_UNICODETEXT);
}

COleDropTarget::~COleDropTarget()
{
    COleDropTarget::Revoke();
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    const HWND hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (!hwnd || m_hWnd)
        return FALSE;
    m_hWnd = hwnd;
    g_targets[hwnd] = this;
    if (QWidget* widget = wnd_internal::WidgetOf(hwnd)) {
        widget->setAcceptDrops(true);
        auto* filter = new DropFilter(this, hwnd);
        filter->setParent(widget);
        widget->installEventFilter(filter);
        m_filter = filter;
    }
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_hWnd)
        return;
    g_targets.erase(m_hWnd);
    if (QWidget* widget = wnd_internal::ExistingWidgetOf(m_hWnd)) {
        if (m_filter) {
            auto* filter = static_cast<DropFilter*>(m_filter);
            widget->removeEventFilter(filter);
            delete filter;
        }
    }
    m_filter = nullptr;
    m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}

void COleDropTarget::OnDragLeave(CWnd*) { }

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT DeliverTextDrop(HWND hwnd, const CString& text, DWORD keyState, POINT clientPoint)
{
    auto it = g_targets.find(hwnd);
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (it == g_targets.end() || !wnd)
        return DROPEFFECT_NONE;
    COleDropTarget* target = it->second;
    COleDataObject data;
    data.AttachText(text);
    const CPoint point(clientPoint.x, clientPoint.y);
    DROPEFFECT effect = target->OnDragEnter(wnd, &data, keyState, point);
    if (effect != DROPEFFECT_NONE)
        effect = target->OnDragOver(wnd, &data, keyState, point);
    if (effect == DROPEFFECT_NONE) {
        target->OnDragLeave(wnd);
        return DROPEFFECT_NONE;
    }
    return target->OnDrop(wnd, &data, effect, point) ? effect : DROPEFFECT_NONE;
}

void SetDragLoopHook(DragLoopHook hook)
{
    g_dragHook = std::move(hook);
}
