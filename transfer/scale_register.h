#pragma once
// CScaleRegister: the work screen's scale register. It reads and writes the
// register of the store's scales ([ScaleMG] of Manager.mdb) and the two scale
// settings tables of Manager_ScaleInfo.mdb through the work screen's item
// database worker and mailbox, and turns the rows that come back into the
// register list (900), the communication dialog's list of registered scales
// and the settings grid. Reads stream their rows to the work screen, which
// hands each one back here; each row handler answers "Report". Below both
// transports: the reservation dialog reads the register with ScaleRegisterSql.
// UI thread.

#include <array>

#include "transfer/scale_register_host.h"

// The register's columns of managerId's scales, every scale for the
// administrator: "SELECT <columns> FROM [ScaleMG]" and the manager filter.
[[nodiscard]] CString ScaleRegisterSql(const CString& columns, const CString& managerId);

class CScaleRegister : public CScaleRegisterPort {
public:
    CScaleRegister() = default;
    virtual ~CScaleRegister() = default;

    void SetOwnerView(CScaleRegisterHost* owner) { m_pOwner = owner; }

    // Reads. Each takes the request name and the manager id from the mailbox
    // (request edit, SQL edit), opens its database and starts the worker.
    void SelectScales(const CString& columns) override;
    // databasePath is not used: the register lives in Manager.mdb. Ethernet
    // reads the scales' addresses, Serial their scale IDs.
    void SelectScaleAddress(const CString& databasePath, const CString& columns, Transport mode) override;
    void SelectScaleRootInfo(const CString& columns) override;
    void SelectScaleInfo(const CString& columns) override;

    // Row handlers.
    void SplitRows(const CString& row) override;
    void FillScaleList(const CString& row) override;
    void FillScaleRootInfoGrid(const CString& row) override;
    void FillScaleInfoGrid(const CString& row) override;

    // Writes through the worker's ExecuteRequest, under the request name in
    // the mailbox. Texts are quoted; a key that is not a whole number
    // changes nothing.
    void UpdateScale(const CString& number, const CString& name, const CString& ip, const CString& scaleId,
        const CString& managerId, const CString& key) override;
    void InsertScale(const CString& number, const CString& name, const CString& ip, const CString& scaleId,
        const CString& managerId) override;
    void DeleteScale(const CString& key) override;

    // TRUE when key is a whole decimal number (an [ID] of the register).
    static BOOL IsRecordKey(const CString& key);

    // The work screen's language index (2).
    void SetLanguage(int language) { m_nLanguage = language; }
    // A read starts: the next row is its header row.
    void BeginRows() { m_nRowCount = m_nColumnCount = m_nGridRow = 0; }

private:
    // The manager id of the register reads, taking the request name and the
    // manager id from the mailbox.
    CString TakeRequest(CString& requestName);
    void StartRead(const char* database, const CString& requestName, const CString& sql);
    void RunWrite(const CString& sql);
    // Splits row into m_fields; the number of values.
    int SplitFields(const CString& row);
    void Acknowledge();
    void FillSettingsGrid(const CString& row);

    CScaleRegisterHost* m_pOwner = nullptr;
    int m_nLanguage = 2;
    // The values of the row being handled.
    std::array<CString, 50> m_fields;
    // Rows of the current read, the header row being row 1.
    int m_nRowCount = 0;
    // 1 when the address read's third column is the IP, 0 for the scale ID.
    int m_nAddressKind = 0;
    int m_nColumnCount = 0;
    int m_nGridRow = 0;
};
