#pragma once
// A data root with Manager.mdb and Server_Store.mdb written from their
// templates, a fixed clock, scripted modal dialogs, message boxes and print
// dialogs, and the helpers the result dialog tests share: seeding scales,
// managers and sales, clicking controls with the mouse, reading the grid.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/dao/dao_database.h"
#include "platform/print/print_script.h"
#include "platform/wnd/controls/datetime_ctrl.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "resources/calvorn_ids.h"
#include "results/result_dao_helper.h"
#include "shell/file_helpers.h"
#include "tests/support/store_password.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

// One [Server_DB] row.
struct Sale {
    const char* day; // Result_day as stored
    const char* item;
    const char* price;
    const char* weight;
    const char* count;
    const char* ip;
    const char* manager;
    const char* scale = "s1";
    const char* name = "Apple";
    const char* time = "10:00:00";
    const char* posCode = "880";
};

class ResultFixture : public ::testing::Test {
protected:
    ResultFixture()
    {
        MakeDirectoryPath("C:\\Windows\\system\\Manager");
        WriteResourceFile(152, kManagerDatabase); // manager "vexo", scale "scale1" of vexo
        WriteResourceFile(195, kServerDatabase);
        const auto when = std::chrono::system_clock::from_time_t(CTime(2009, 3, 15, 9, 30, 0).GetTime());
        AfxSetClock([when] { return when; });
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        PrintScript::Enable();
        PrintScript::Reset();
    }
    ~ResultFixture() override
    {
        PrintScript::Reset();
        PrintScript::Disable();
        ModalDialogScript::Reset();
        AfxSetClock(nullptr);
        CDaoDatabase::TEST_DropConnectionCache();
    }

    static void Execute(const char* path, const std::vector<CString>& statements)
    {
        CDaoDatabase db;
        db.Open(path, FALSE, FALSE, kStoreConnect);
        for (const CString& sql : statements) {
            try {
                db.Execute(sql);
            } catch (CException* e) {
                ADD_FAILURE() << e->GetErrorText().Str() << "\n" << sql.Str();
                e->Delete();
            }
        }
        db.Close();
    }

    static CString Quoted(const char* text)
    {
        CString value(text);
        value.Replace("'", "''");
        return "'" + value + "'";
    }

    static void AddScale(const char* name, const char* ip, const char* manager)
    {
        Execute(kManagerDatabase,
            { "INSERT INTO [ScaleMG] ([scale_name], [ip], [mg_id]) VALUES (" + Quoted(name) + ", "
                + Quoted(ip) + ", " + Quoted(manager) + ")" });
    }

    static void AddManager(const char* id)
    {
        Execute(kManagerDatabase, { "INSERT INTO [Manager] ([mg_id]) VALUES (" + Quoted(id) + ")" });
    }

    static void AddSales(const std::vector<Sale>& sales)
    {
        std::vector<CString> sql;
        for (const Sale& s : sales)
            sql.push_back(
                "INSERT INTO [Server_DB] ([code_gds], [PrintCnt], [Result_day], [Totalprice], "
                "[Totalweight], [ip], [mg_id], [item_name], [result_time], [scale_name], [item_poscode]) "
                "VALUES ("
                + Quoted(s.item) + ", " + Quoted(s.count) + ", " + Quoted(s.day) + ", " + Quoted(s.price)
                + ", " + Quoted(s.weight) + ", " + Quoted(s.ip) + ", " + Quoted(s.manager) + ", "
                + Quoted(s.name) + ", " + Quoted(s.time) + ", " + Quoted(s.scale) + ", " + Quoted(s.posCode)
                + ")");
        Execute(kServerDatabase, sql);
    }

    // Runs dialog with action, then the nested dialogs' actions in order.
    static INT_PTR Run(CDialog& dialog, std::function<void(CDialog&)> action,
        std::vector<std::function<void(CDialog&)>> nested = {})
    {
        ModalDialogScript::Push(std::move(action));
        for (auto& a : nested)
            ModalDialogScript::Push(std::move(a));
        return dialog.DoModal();
    }

    // A mouse click in the middle of the dialog's control.
    static void Click(CDialog& d, int id)
    {
        CWnd* control = d.GetDlgItem(id);
        ASSERT_NE(control, nullptr) << id;
        CRect rect;
        control->GetClientRect(&rect);
        ASSERT_TRUE(AfxSimulateClick(control->GetSafeHwnd(), rect.CenterPoint())) << id;
    }

    // The answer of a selection dialog (200, 213): each text chosen in the
    // upper list and moved down with Select, then OK.
    static std::function<void(CDialog&)> Choose(std::vector<const char*> texts)
    {
        return [texts](CDialog& d) {
            auto* candidates = dynamic_cast<CListBox*>(d.GetDlgItem(IDC_SELECT_CANDIDATES));
            for (const char* text : texts) {
                for (int i = 0; i < candidates->GetCount(); ++i) {
                    CString entry;
                    candidates->GetText(i, entry);
                    if (entry == text)
                        candidates->SetCurSel(i);
                }
                AfxClickDlgButton(d, IDC_SELECT_ADD);
            }
            Click(d, IDOK);
        };
    }

    static void SetDates(CDialog& d, const CTime& begin, const CTime& end)
    {
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(IDC_RESULT_BEGIN))->SetTime(begin);
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(IDC_RESULT_END))->SetTime(end);
    }

    static std::vector<std::string> Lines(CDialog& d, int id)
    {
        std::vector<std::string> lines;
        auto* list = dynamic_cast<CListBox*>(d.GetDlgItem(id));
        for (int i = 0; list && i < list->GetCount(); ++i) {
            CString line;
            list->GetText(i, line);
            lines.push_back(line.Str());
        }
        return lines;
    }

    // The result rows (between the heading row and "-->"), cells 1.. joined by '|'.
    static std::vector<std::string> GridRows(const CGridCtrl& grid)
    {
        std::vector<std::string> rows;
        for (int r = 1; r + 1 < grid.GetRowCount(); ++r) {
            std::string row;
            for (int c = 1; c < grid.GetColumnCount(); ++c)
                row += (c > 1 ? "|" : "") + grid.GetItemText(r, c).Str();
            rows.push_back(row);
        }
        return rows;
    }

    // The texts of message boxes shown so far.
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& r : m_boxes.Records())
            texts.push_back(r.text.Str());
        return texts;
    }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
};
