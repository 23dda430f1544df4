#pragma once
// A data root with the reservation database, the manager database (scale
// register) and an item database written from their templates, a fixed clock,
// and helpers that run statements and read rows back.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "db/store_paths.h"
#include "ethernet/reservation_rules.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/base/resource.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_recordset.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "tests/support/store_password.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

inline constexpr const char* kTestItemDb = "C:\\items.mdb";

class ReservationFixture : public ::testing::Test {
protected:
    ReservationFixture()
    {
        WriteTemplate(220, kReservationDatabase);
        WriteTemplate(152, kManagerDatabase);
        WriteTemplate(150, kTestItemDb);
        SetClock(CTime(2007, 3, 5, 9, 7, 10));
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
    }
    ~ReservationFixture() override
    {
        ModalDialogScript::Reset();
        AfxSetClock(nullptr);
        CDaoDatabase::TEST_DropConnectionCache();
    }

    void WriteTemplate(UINT id, const char* windowsPath)
    {
        const std::string path = m_root.Native(windowsPath);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        const auto bytes = AfxGetResource("MDB", id);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static void SetClock(const CTime& time)
    {
        const auto when = std::chrono::system_clock::from_time_t(time.GetTime());
        AfxSetClock([when] { return when; });
    }

    void Execute(const char* path, const std::vector<CString>& statements)
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

    // Every row of sql, each as its values joined by '|' ("<null>" for NULL).
    std::vector<std::string> Rows(const char* path, const char* sql)
    {
        CDaoDatabase db;
        db.Open(path, FALSE, FALSE, kStoreConnect);
        std::vector<std::string> out;
        {
            CDaoRecordset rs(&db);
            rs.Open(AFX_DAO_USE_DEFAULT_TYPE, sql);
            for (; !rs.IsEOF(); rs.MoveNext()) {
                std::string row;
                for (short i = 0; i < rs.GetFieldCount(); ++i) {
                    const COleVariant v = rs.GetFieldValue(i);
                    row += (i ? "|" : "") + (v.vt == VT_BSTR ? v.bstrVal.Str() : std::string("<null>"));
                }
                out.push_back(row);
            }
            rs.Close();
        }
        db.Close();
        return out;
    }

    // A stored reservation row (status "wait") and, for kind 1, item copies.
    void StoreReservation(const ReservationRow& row, const std::vector<std::vector<CString>>& items = {})
    {
        std::vector<CString> sql { InsertReservationSql(row) };
        for (const auto& item : items)
            sql.push_back(InsertReservationItemSql(item, row.managerId, row.Number(), row.Period(), 0));
        Execute(kReservationDatabase, sql);
    }

    static ReservationRow MakeRow(long number, int period, const char* manager, const char* address,
        const char* year = "2007", const char* month = "3", const char* day = "5", const char* hour = "9",
        const char* minute = "7", int kind = 1)
    {
        ReservationRow row;
        row.number = CString::Formatted("%ld", number);
        row.period = CString::Formatted("%d", period);
        row.managerId = manager;
        row.year = year;
        row.month = month;
        row.day = day;
        row.hour = hour;
        row.minute = minute;
        row.kind = CString::Formatted("%d", kind);
        row.address = address;
        row.direction = "0";
        row.status = kStatusWait;
        return row;
    }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
};
