#pragma once
// CDaoRecordset: the rows of one SELECT. Open reads the whole result at once, so
// no statement stays open while the caller walks the rows (rows may be walked
// and handed to other threads at leisure). Navigation follows DAO: after Open the
// first row is current; MoveNext past the last row sets EOF; reading or moving
// forward at EOF throws "No current record." (3021).

#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/dao_constants.h"
#include "platform/dao/ole_variant.h"

class CDaoDatabase;

struct CDaoFieldInfo {
    CString m_strName; // column name or alias
    short m_nType = dbText; // dbText, dbLong, dbMemo ...
    long m_lSize = 0; // text size in characters; 4 for dbLong
    long m_lAttributes = 0; // dbAutoIncrField for an autonumber
    short m_nOrdinalPosition = 0;
    BOOL m_bRequired = FALSE;
    BOOL m_bAllowZeroLength = TRUE;
    CString m_strSourceTable; // table of the column, empty for expressions
    CString m_strSourceField;
};

class CDaoRecordset {
public:
    explicit CDaoRecordset(CDaoDatabase* database = nullptr);
    virtual ~CDaoRecordset();
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    // Runs sql (one statement returning rows) on m_pDatabase and reads every row.
    // type and options are accepted. Throws CDaoException on error; the recordset
    // stays closed then.
    virtual void Open(int type = AFX_DAO_USE_DEFAULT_TYPE, LPCTSTR sql = nullptr, int options = 0);
    virtual void Close();

    BOOL IsOpen() const;
    BOOL IsEOF() const;
    BOOL IsBOF() const;

    void MoveNext();
    void MovePrev();
    void MoveFirst();
    void MoveLast();
    // Moves rows forward (negative: back) from the current row. Landing past
    // the last row sets EOF, before the first sets BOF. Throws 3021 when there
    // is no current row to move from.
    void Move(long rows);

    // DAO's count of the rows visited so far (1 right after Open on a non-empty
    // set; all rows after MoveLast).
    long GetRecordCount() const;
    short GetFieldCount() const;

    // Value of the current row's field; throws 3021 at BOF/EOF, 3265 for a bad
    // index or name.
    COleVariant GetFieldValue(int index);
    COleVariant GetFieldValue(LPCTSTR name);
    void GetFieldValue(int index, COleVariant& value);

    // Description of a field; throws 3265 for a bad index.
    void GetFieldInfo(int index, CDaoFieldInfo& info, DWORD infoOptions = AFX_DAO_PRIMARY_INFO);

    CDaoDatabase* m_pDatabase;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
