#include "platform/wnd/controls/listbox.h"

#include <algorithm>

#include <QListWidget>
#include <QSignalBlocker>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

CListBox* ListBoxOf(HWND hwnd)
{
    return dynamic_cast<CListBox*>(CWnd::FromHandle(hwnd));
}

// Shows the box's strings and selection in the list, telling nobody.
void Fill(QListWidget* list, const CListBox& box)
{
    const QSignalBlocker blocker(list);
    list->clear();
    CString text;
    for (int i = 0; i < box.GetCount(); ++i) {
        box.GetText(i, text);
        list->addItem(QString::fromUtf8(text.GetString(), text.GetLength()));
    }
    if (box.IsMultipleSelection()) {
        for (int i = 0; i < box.GetCount(); ++i)
            list->item(i)->setSelected(box.GetSel(i) > 0);
        if (box.GetCurSel() >= 0)
            list->setCurrentRow(box.GetCurSel(), QItemSelectionModel::NoUpdate);
    } else {
        list->setCurrentRow(box.GetCurSel());
    }
    if (box.GetCurSel() >= 0)
        list->scrollToItem(list->item(box.GetCurSel()));
}

QWidget* MakeListBox(HWND hwnd, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    const CListBox* owner = ListBoxOf(hwnd);
    const DWORD style = owner ? owner->GetStyle() : 0;
    list->setSelectionMode(style & LBS_EXTENDEDSEL ? QAbstractItemView::ExtendedSelection
            : style & LBS_MULTIPLESEL              ? QAbstractItemView::MultiSelection
                                                   : QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    if (const CListBox* box = ListBoxOf(hwnd))
        Fill(list, *box);
    if (list->selectionMode() == QAbstractItemView::SingleSelection) {
        QObject::connect(list, &QListWidget::currentRowChanged, list, [hwnd](int row) {
            if (CListBox* box = ListBoxOf(hwnd))
                box->OnUserSelect(row);
        });
    } else {
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [hwnd, list] {
            std::vector<int> rows;
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->isSelected())
                    rows.push_back(i);
            if (CListBox* box = ListBoxOf(hwnd)) {
                box->SetCurSelCaret(list->currentRow());
                box->OnUserSelectRows(rows);
            }
        });
    }
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [hwnd](QListWidgetItem*) {
        if (CListBox* box = ListBoxOf(hwnd))
            box->OnUserDoubleClick();
    });
    return list;
}

// List boxes of dialog templates get the list widget and a CListBox object
// too, so a dialog can bind them with DDX_Control.
bool RegisterListBox()
{
    static const bool registered = [] {
        wnd_internal::RegisterWidgetFactory("LISTBOX", &MakeListBox);
        wnd_internal::RegisterControlObjectFactory("LISTBOX", []() -> CWnd* { return new CListBox; });
        return true;
    }();
    return registered;
}

const bool kListBoxRegistered = RegisterListBox();

QListWidget* ListWidgetOf(HWND hwnd)
{
    return qobject_cast<QListWidget*>(wnd_internal::ExistingWidgetOf(hwnd));
}

} // namespace

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    (void)kListBoxRegistered;
    RegisterListBox();
    return CWnd::Create("LISTBOX", nullptr, style | WS_CHILD, rect, parent, id);
}

int CListBox::AddString(LPCTSTR text)
{
    const CString item(text ? text : "");
    auto at = m_items.end();
    if (GetStyle() & LBS_SORT) {
        at = m_items.begin();
        while (at != m_items.end() && at->text.CompareNoCase(item) <= 0)
            ++at;
    }
    const int index = static_cast<int>(at - m_items.begin());
    m_items.insert(at, Item { item });
    if (m_curSel >= index)
        ++m_curSel;
    SyncWidget();
    return index;
}

int CListBox::InsertString(int index, LPCTSTR text)
{
    if (index < -1 || index > GetCount())
        return LB_ERR;
    if (index == -1)
        index = GetCount();
    m_items.insert(m_items.begin() + index, Item { CString(text ? text : "") });
    if (m_curSel >= index)
        ++m_curSel;
    SyncWidget();
    return index;
}

int CListBox::DeleteString(UINT index)
{
    if (index >= m_items.size())
        return LB_ERR;
    const int removed = static_cast<int>(index);
    m_items.erase(m_items.begin() + removed);
    if (m_curSel == removed)
        m_curSel = LB_ERR;
    else if (m_curSel > removed)
        --m_curSel;
    SyncWidget();
    return GetCount();
}

void CListBox::ResetContent()
{
    m_items.clear();
    m_curSel = LB_ERR;
    m_topIndex = LB_ERR;
    SyncWidget();
}

int CListBox::GetText(int index, CString& text) const
{
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    text = m_items[static_cast<size_t>(index)].text;
    return text.GetLength();
}

int CListBox::GetTextLen(int index) const
{
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    return m_items[static_cast<size_t>(index)].text.GetLength();
}

int CListBox::SetCurSel(int index)
{
    const bool valid = index >= 0 && index < GetCount();
    m_curSel = valid ? index : LB_ERR;
    m_topIndex = LB_ERR;
    SyncWidget();
    return m_curSel;
}

int CListBox::SetTopIndex(int index)
{
    if (!ValidIndex(index))
        return LB_ERR;
    m_topIndex = index;
    SyncWidget();
    return 0;
}

void CListBox::SetCurSelCaret(int index)
{
    m_curSel = ValidIndex(index) ? index : LB_ERR;
}

DWORD_PTR CListBox::GetItemData(int index) const
{
    return ValidIndex(index) ? m_items[static_cast<size_t>(index)].data : static_cast<DWORD_PTR>(LB_ERR);
}

int CListBox::SetItemData(int index, DWORD_PTR data)
{
    if (!ValidIndex(index))
        return LB_ERR;
    m_items[static_cast<size_t>(index)].data = data;
    return 0;
}

BOOL CListBox::IsMultipleSelection() const
{
    return (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int CListBox::SetSel(int index, BOOL select)
{
    if (!IsMultipleSelection() || (index != -1 && !ValidIndex(index)))
        return LB_ERR;
    for (int i = 0; i < GetCount(); ++i)
        if (index == -1 || i == index)
            m_items[static_cast<size_t>(i)].selected = select != FALSE;
    if (index != -1)
        m_curSel = index;
    SyncWidget();
    return 0;
}

int CListBox::GetSel(int index) const
{
    if (!ValidIndex(index))
        return LB_ERR;
    if (!IsMultipleSelection())
        return index == m_curSel ? 1 : 0;
    return m_items[static_cast<size_t>(index)].selected ? 1 : 0;
}

int CListBox::GetSelCount() const
{
    if (!IsMultipleSelection())
        return LB_ERR;
    return static_cast<int>(
        std::count_if(m_items.begin(), m_items.end(), [](const Item& item) { return item.selected; }));
}

int CListBox::GetSelItems(int maxItems, int* items) const
{
    if (!IsMultipleSelection())
        return LB_ERR;
    int count = 0;
    for (int i = 0; i < GetCount() && count < maxItems; ++i)
        if (m_items[static_cast<size_t>(i)].selected)
            items[count++] = i;
    return count;
}

void CListBox::OnUserSelectRows(const std::vector<int>& rows)
{
    for (Item& item : m_items)
        item.selected = false;
    for (int row : rows)
        if (ValidIndex(row))
            m_items[static_cast<size_t>(row)].selected = true;
    Notify(LBN_SELCHANGE);
}

int CListBox::GetItemRect(int index, LPRECT rect) const
{
    QListWidget* list = ListWidgetOf(GetSafeHwnd());
    if (!list || !rect || index < 0 || index >= list->count())
        return LB_ERR;
    const QRect inView = list->visualItemRect(list->item(index));
    const QPoint topLeft = list->viewport()->mapTo(list, inView.topLeft());
    *rect = RECT { topLeft.x(), topLeft.y(), topLeft.x() + inView.width(), topLeft.y() + inView.height() };
    return 0;
}

void CListBox::OnUserSelect(int index)
{
    m_curSel = index >= 0 && index < GetCount() ? index : LB_ERR;
    Notify(LBN_SELCHANGE);
}

void CListBox::OnUserDoubleClick()
{
    Notify(LBN_DBLCLK);
}

void CListBox::Notify(UINT code)
{
    if (!(GetStyle() & LBS_NOTIFY))
        return;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND,
            MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), static_cast<WORD>(code)),
            reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CListBox::SyncWidget() const
{
    QListWidget* list = ListWidgetOf(GetSafeHwnd());
    if (!list)
        return;
    Fill(list, *this);
    if (m_topIndex >= 0)
        list->scrollToItem(list->item(m_topIndex), QAbstractItemView::PositionAtTop);
}
