#include "platform/wnd/controls/listctrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

QString ToQt(const CString& text)
{
    return QString::fromUtf8(text.GetString(), text.GetLength());
}

CListCtrl* ListOf(HWND hwnd)
{
    return dynamic_cast<CListCtrl*>(CWnd::FromHandle(hwnd));
}

// A report view whose clicks, on an item or beside the items, become NM_CLICK.
class ReportView : public QTreeWidget {
public:
    ReportView(HWND hwnd, QWidget* parent)
        : QTreeWidget(parent)
        , m_hwnd(hwnd)
    {
        setRootIsDecorated(false);
        setUniformRowHeights(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setAllColumnsShowFocus(true);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QTreeWidget::showEvent(event);
        if (!m_shown) {
            m_shown = true;
            if (CListCtrl* list = ListOf(m_hwnd))
                list->Refresh();
        }
    }
    // The user's clicks reach the view through its viewport.
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QTreeWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            Clicked(event->position().toPoint());
    }
    // A click sent to the control's own window, at a point of its client area
    // (the heading included).
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton)
                Clicked(viewport()->mapFrom(this, mouse->position().toPoint()));
            return true;
        }
        return QTreeWidget::event(event);
    }

private:
    void Clicked(const QPoint& viewportPoint)
    {
        const QModelIndex index = viewportPoint.y() >= 0 ? indexAt(viewportPoint) : QModelIndex();
        if (CListCtrl* list = ListOf(m_hwnd))
            list->ClickItem(index.isValid() ? index.row() : -1, index.isValid() ? index.column() : 0);
    }

    HWND m_hwnd;
    bool m_shown = false;
};

QWidget* MakeListCtrl(HWND hwnd, QWidget* parent)
{
    return new ReportView(hwnd, parent);
}

bool RegisterListCtrl()
{
    static const bool registered = [] {
        wnd_internal::RegisterWidgetFactory("SysListView32", &MakeListCtrl);
        wnd_internal::RegisterControlObjectFactory("SysListView32", []() -> CWnd* { return new CListCtrl; });
        return true;
    }();
    return registered;
}

const bool kListCtrlRegistered = RegisterListCtrl();

} // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    (void)kListCtrlRegistered;
    RegisterListCtrl();
    return CWnd::Create("SysListView32", nullptr, style | WS_CHILD, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, LPCTSTR heading, int format, int width)
{
    if (column < 0)
        return -1;
    column = std::min(column, GetColumnCount());
    m_columns.insert(
        m_columns.begin() + column, Column { heading ? heading : "", format, width < 0 ? 0 : width });
    for (auto& item : m_items) {
        if (static_cast<int>(item.size()) > column)
            item.insert(item.begin() + column, CString());
    }
    SyncWidget();
    return column;
}

BOOL CListCtrl::DeleteColumn(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return FALSE;
    m_columns.erase(m_columns.begin() + column);
    for (auto& item : m_items) {
        if (static_cast<int>(item.size()) > column)
            item.erase(item.begin() + column);
    }
    SyncWidget();
    return TRUE;
}

BOOL CListCtrl::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= GetColumnCount())
        return FALSE;
    m_columns[static_cast<size_t>(column)].width = width;
    SyncWidget();
    return TRUE;
}

int CListCtrl::GetColumnWidth(int column) const
{
    return column < 0 || column >= GetColumnCount() ? 0 : m_columns[static_cast<size_t>(column)].width;
}

CString CListCtrl::GetColumnHeading(int column) const
{
    return column < 0 || column >= GetColumnCount() ? CString()
                                                    : m_columns[static_cast<size_t>(column)].heading;
}

int CListCtrl::InsertItem(int item, LPCTSTR text)
{
    if (item < 0)
        return -1;
    item = std::min(item, GetItemCount());
    m_items.insert(m_items.begin() + item, std::vector<CString> { CString(text ? text : "") });
    if (m_selected >= item)
        ++m_selected;
    SyncWidget();
    return item;
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCTSTR text)
{
    if (item < 0 || item >= GetItemCount() || subItem < 0)
        return FALSE;
    auto& texts = m_items[static_cast<size_t>(item)];
    if (static_cast<int>(texts.size()) <= subItem)
        texts.resize(static_cast<size_t>(subItem) + 1);
    texts[static_cast<size_t>(subItem)] = text ? text : "";
    SyncWidget();
    return TRUE;
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    if (item < 0 || item >= GetItemCount() || subItem < 0)
        return "";
    const auto& texts = m_items[static_cast<size_t>(item)];
    return subItem < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(subItem)] : CString();
}

BOOL CListCtrl::DeleteItem(int item)
{
    if (item < 0 || item >= GetItemCount())
        return FALSE;
    m_items.erase(m_items.begin() + item);
    if (m_selected == item)
        m_selected = -1;
    else if (m_selected > item)
        --m_selected;
    SyncWidget();
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    m_items.clear();
    m_selected = -1;
    SyncWidget();
    return TRUE;
}

void CListCtrl::ClickItem(int item, int subItem)
{
    m_selected = item >= 0 && item < GetItemCount() ? item : -1;
    CWnd* owner = GetParent();
    if (!owner)
        return;
    NMITEMACTIVATE notify;
    notify.hdr.hwndFrom = GetSafeHwnd();
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.hdr.code = NM_CLICK;
    notify.iItem = m_selected;
    notify.iSubItem = subItem;
    owner->SendMessage(WM_NOTIFY, static_cast<WPARAM>(notify.hdr.idFrom), reinterpret_cast<LPARAM>(&notify));
}

void CListCtrl::SyncWidget()
{
    auto* view = dynamic_cast<QTreeWidget*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd()));
    if (!view)
        return;
    view->clear();
    view->setColumnCount(std::max(1, GetColumnCount()));
    QStringList headings;
    for (const Column& column : m_columns)
        headings << ToQt(column.heading);
    view->setHeaderLabels(headings);
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (m_columns[static_cast<size_t>(c)].width > 0)
            view->setColumnWidth(c, m_columns[static_cast<size_t>(c)].width);
    }
    for (const auto& texts : m_items) {
        auto* row = new QTreeWidgetItem(view);
        for (int c = 0; c < static_cast<int>(texts.size()) && c < std::max(1, GetColumnCount()); ++c)
            row->setText(c, ToQt(texts[static_cast<size_t>(c)]));
    }
    if (m_selected >= 0)
        view->setCurrentItem(view->topLevelItem(m_selected));
}
