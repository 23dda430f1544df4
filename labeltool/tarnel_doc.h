#pragma once
// CTarnelDoc: owns the preview's label items. It never asks to save; the
// frame asks about unsaved label and cassette values.

#include <list>
#include <memory>

#include "labeltool/label_items.h"
#include "platform/wnd/docview/doc.h"

class CTarnelDoc : public CDocument {
public:
    CTarnelDoc();
    ~CTarnelDoc() override;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void AddHead(std::unique_ptr<CLabelTextItem> item) { m_items.push_front(std::move(item)); }
    const std::list<std::unique_ptr<CLabelTextItem>>& Items() const { return m_items; }
    // The item of index item, or nullptr.
    CLabelTextItem* FindItem(int item) const;

private:
    std::list<std::unique_ptr<CLabelTextItem>> m_items;
};
