#include "platform/wnd/controls/combobox.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

QString ToQt(const CString& text)
{
    return QString::fromUtf8(text.GetString(), text.GetLength());
}

// The window's rectangle holds the dropped list too; on screen only the
// selection field stands there (the list opens over what lies below), so the
// controls beneath stay visible and take their clicks.
class FieldHeight : public QObject {
public:
    FieldHeight(HWND hwnd, QObject* parent)
        : QObject(parent)
        , m_hwnd(hwnd)
    { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange) {
            auto* combo = static_cast<QComboBox*>(watched);
            const CComboBox* box = dynamic_cast<CComboBox*>(CWnd::FromHandle(m_hwnd));
            const int set = box ? box->GetItemHeight(-1) : 0;
            const int field = set > 0 ? set : combo->sizeHint().height();
            if (combo->height() > field)
                combo->resize(combo->width(), field);
        }
        return false;
    }

private:
    HWND m_hwnd;
};

QWidget* MakeCombo(HWND hwnd, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->installEventFilter(new FieldHeight(hwnd, combo));
    CWnd* wnd = CWnd::FromHandle(hwnd);
    const DWORD style = wnd ? wnd->GetStyle() : 0;
    combo->setEditable((style & CBS_TYPEMASK) != CBS_DROPDOWNLIST);
    QObject::connect(combo, &QComboBox::activated, combo, [hwnd](int index) {
        if (auto* box = dynamic_cast<CComboBox*>(CWnd::FromHandle(hwnd))) {
            box->SetCurSel(index);
            if (CWnd* owner = box->GetParent())
                owner->SendMessage(WM_COMMAND,
                    MAKEWPARAM(static_cast<WORD>(box->GetDlgCtrlID()), CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(hwnd));
        }
    });
    if (QLineEdit* line = combo->lineEdit()) {
        QObject::connect(line, &QLineEdit::textEdited, line,
            [hwnd](const QString& text) { ::SetWindowText(hwnd, text.toUtf8().constData()); });
    }
    return combo;
}

bool StartsWithNoCase(const CString& text, const char* prefix)
{
    const int n = static_cast<int>(std::char_traits<char>::length(prefix));
    return text.GetLength() >= n && text.Left(n).CompareNoCase(prefix) == 0;
}

} // namespace

namespace {

// Combo boxes of dialog templates get the list widget and a CComboBox object
// too, so a dialog can bind them with DDX_Control.
bool RegisterComboBox()
{
    static const bool registered = [] {
        wnd_internal::RegisterWidgetFactory("COMBOBOX", &MakeCombo);
        wnd_internal::RegisterControlObjectFactory("COMBOBOX", []() -> CWnd* { return new CComboBox; });
        return true;
    }();
    return registered;
}

const bool kComboBoxRegistered = RegisterComboBox();

} // namespace

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    (void)kComboBoxRegistered;
    RegisterComboBox();
    return CWnd::Create("COMBOBOX", nullptr, style | WS_CHILD, rect, parent, id);
}

int CComboBox::AddString(LPCTSTR text)
{
    m_items.emplace_back(text ? text : "");
    SyncWidget();
    return GetCount() - 1;
}

void CComboBox::ResetContent()
{
    m_items.clear();
    m_curSel = CB_ERR;
    SyncWidget();
}

int CComboBox::GetLBText(int index, CString& text) const
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    text = m_items[static_cast<size_t>(index)];
    return text.GetLength();
}

int CComboBox::SetCurSel(int index)
{
    if (index < 0 || index >= GetCount()) {
        m_curSel = CB_ERR;
        SyncWidget();
        return CB_ERR;
    }
    m_curSel = index;
    SetWindowText(m_items[static_cast<size_t>(index)]);
    SyncWidget();
    return index;
}

int CComboBox::FindString(int start, LPCTSTR prefix) const
{
    const int count = GetCount();
    if (!prefix || count == 0)
        return CB_ERR;
    for (int step = 1; step <= count; ++step) {
        const int index = ((start < 0 ? -1 : start) + step) % count;
        if (StartsWithNoCase(m_items[static_cast<size_t>(index)], prefix))
            return index;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int start, LPCTSTR prefix)
{
    const int index = FindString(start, prefix);
    return index == CB_ERR ? CB_ERR : SetCurSel(index);
}

void CComboBox::ShowDropDown(BOOL show)
{
    m_dropped = show;
    if (auto* combo = qobject_cast<QComboBox*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd()))) {
        if (show && combo->isVisible())
            combo->showPopup();
        else if (!show)
            combo->hidePopup();
    }
}

int CComboBox::SetDroppedWidth(UINT width)
{
    m_droppedWidth = static_cast<int>(width);
    return m_droppedWidth;
}

int CComboBox::SetItemHeight(int index, UINT height)
{
    (index < 0 ? m_fieldHeight : m_itemHeight) = static_cast<int>(height);
    auto* combo = qobject_cast<QComboBox*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd()));
    if (index < 0 && combo && height > 0 && combo->height() > static_cast<int>(height))
        combo->resize(combo->width(), static_cast<int>(height));
    return 0;
}

void CComboBox::SyncWidget()
{
    auto* combo = qobject_cast<QComboBox*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd()));
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const CString& item : m_items)
        combo->addItem(ToQt(item));
    combo->setCurrentIndex(m_curSel);
    CString text;
    GetWindowText(text);
    if (combo->isEditable())
        combo->setEditText(ToQt(text));
}
