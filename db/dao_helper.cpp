#include "db/dao_helper.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/exception.h"
#include "platform/dao/dao_exception.h"
#include "platform/dao/dao_recordset.h"
#include "platform/wnd/core/msgbox.h"

namespace {

// Size of the buffer the engine's error text is fetched into, NUL included.
constexpr UINT kErrorTextBuffer = 255;

const char* TypeName(unsigned code)
{
    switch (code) {
    case VT_EMPTY:
        return "VT_EMPTY";
    case VT_NULL:
        return "VT_NULL";
    case VT_I2:
        return "VT_I2";
    case VT_I4:
        return "VT_I4";
    case VT_R4:
        return "VT_R4";
    case VT_R8:
        return "VT_R8";
    case VT_CY:
        return "VT_CY";
    case VT_DATE:
        return "VT_DATE";
    case VT_BSTR:
        return "VT_BSTR";
    case VT_DISPATCH:
        return "VT_DISPATCH";
    case VT_ERROR:
        return "VT_ERROR";
    case VT_BOOL:
        return "VT_BOOL";
    case VT_VARIANT:
        return "VT_VARIANT";
    case VT_UNKNOWN:
        return "VT_UNKNOWN";
    case VT_I1:
        return "VT_I1";
    case VT_UI1:
        return "VT_UI1";
    case VT_UI2:
        return "VT_UI2";
    case VT_UI4:
        return "VT_UI4";
    case VT_I8:
        return "VT_I8";
    case VT_UI8:
        return "VT_UI8";
    case VT_INT:
        return "VT_INT";
    case VT_UINT:
        return "VT_UINT";
    case VT_VOID:
        return "VT_VOID";
    case VT_HRESULT:
        return "VT_HRESULT";
    case VT_PTR:
        return "VT_PTR";
    case VT_SAFEARRAY:
        return "VT_SAFEARRAY";
    case VT_CARRAY:
        return "VT_CARRAY";
    case VT_USERDEFINED:
        return "VT_USERDEFINED";
    case VT_LPSTR:
        return "VT_LPSTR";
    case VT_LPWSTR:
        return "VT_LPWSTR";
    case VT_FILETIME:
        return "VT_FILETIME";
    case VT_BLOB:
        return "VT_BLOB";
    case VT_STREAM:
        return "VT_STREAM";
    case VT_STORAGE:
        return "VT_STORAGE";
    case VT_STREAMED_OBJECT:
        return "VT_STREAMED_OBJECT";
    case VT_STORED_OBJECT:
        return "VT_STORED_OBJECT";
    case VT_BLOB_OBJECT:
        return "VT_BLOB_OBJECT";
    case VT_CF:
        return "VT_CF";
    case VT_CLSID:
        return "VT_CLSID";
    default:
        return nullptr;
    }
}

// "%e" as the Windows runtime prints it: at least three exponent digits.
CString ExponentText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%e", value);
    CString text = buffer;
    const int e = text.FindOneOf("eE");
    if (e < 0 || e + 2 > text.GetLength())
        return text; // inf, nan
    const CString digits = text.Mid(e + 2);
    if (digits.GetLength() >= 3)
        return text;
    return text.Left(e + 2) + CString('0', 3 - digits.GetLength()) + digits;
}

// The decimal integer at the start of text (blanks and a sign allowed), 0 when none.
long long LeadingInteger(const CString& text)
{
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.GetString(), &end, 10);
    return end == text.GetString() ? 0 : value;
}

} // namespace

CDaoHelper::CDaoHelper()
    : m_database(std::make_unique<CDaoDatabase>())
{ }

CDaoHelper::~CDaoHelper() = default;

void CDaoHelper::OpenDatabase(CString path)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_database->IsOpen())
        m_database->Close();
    m_database->Open(path, FALSE, FALSE, kStoreDatabaseConnect);
}

BOOL CDaoHelper::IsDatabaseOpen() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_database && m_database->IsOpen();
}

std::optional<DaoFileIdentity> CDaoHelper::OpenedFile() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_database ? m_database->GetFileIdentity() : std::nullopt;
}

void CDaoHelper::CloseDatabase()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_database)
        m_database->Close();
}

long CDaoHelper::GetRecordCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nRecordCount;
}

void CDaoHelper::Execute(CString sql)
{
    CString error;
    if (!ExecuteLocked(sql, FALSE, error))
        ReportDaoError(error);
}

BOOL CDaoHelper::ExecuteLocked(const CString& sql, BOOL closeAfter, CString& error, long* rowsChanged)
{
    std::lock_guard<std::mutex> lock(m_lock);
    BOOL ok = TRUE;
    try {
        m_database->Execute(sql, kDbExecuteOptions);
        if (rowsChanged)
            *rowsChanged = m_database->GetRecordsAffected();
    } catch (CException* e) {
        error = TakeErrorText(e);
        ok = FALSE;
    }
    if (closeAfter)
        m_database->Close();
    return ok;
}

CString CDaoHelper::TakeErrorText(CException* e)
{
    char buffer[kErrorTextBuffer] = {};
    e->GetErrorMessage(buffer, kErrorTextBuffer);
    e->Delete();
    return CString(buffer);
}

void CDaoHelper::ReportDaoError(const CString& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

CDaoHelper::QueryResult CDaoHelper::Query(const CString& sql)
{
    QueryResult result;
    std::lock_guard<std::mutex> lock(m_lock);
    m_nRecordCount = 0;
    CDaoRecordset recordset(m_database.get());
    try {
        recordset.Open(AFX_DAO_USE_DEFAULT_TYPE, sql, 0);
        const int fields = recordset.GetFieldCount();
        for (int i = 0; i < fields; ++i) {
            CDaoFieldInfo info;
            recordset.GetFieldInfo(i, info);
            result.fieldNames.push_back(info.m_strName);
        }
        if (!recordset.IsEOF())
            m_nRecordCount = recordset.GetRecordCount();
        while (!recordset.IsEOF()) {
            std::vector<CString> row;
            row.reserve(static_cast<std::size_t>(fields));
            for (int i = 0; i < fields; ++i)
                row.push_back(VariantToText(recordset.GetFieldValue(i)));
            result.rows.push_back(std::move(row));
            recordset.MoveNext();
        }
        recordset.Close();
    } catch (CException* e) {
        result = QueryResult();
        result.ok = FALSE;
        if (const auto* dao = dynamic_cast<CDaoException*>(e); dao && dao->m_pErrorInfo)
            result.errorCode = dao->m_pErrorInfo->m_lErrorCode;
        result.error = TakeErrorText(e);
        if (recordset.IsOpen())
            recordset.Close();
    }
    return result;
}

CString CDaoHelper::JoinRow(const std::vector<CString>& values, BOOL withSeparators)
{
    CString text;
    for (const CString& value : values) {
        text += value;
        if (withSeparators)
            text += kDbValueEnd;
    }
    return text;
}

int CDaoHelper::ReadTable(CString sql)
{
    const QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
        return 1;
    }
    return result.rows.empty() ? 0 : 1;
}

CString CDaoHelper::RowText(const CString& sql, int index, BOOL withSeparators)
{
    const QueryResult result = Query(sql);
    if (!result.ok)
        ReportDaoError(result.error);
    if (!result.ok || result.rows.empty())
        return kDbNoRows;
    if (index < 0) { // every row
        CString text;
        for (const auto& row : result.rows)
            text += JoinRow(row, withSeparators);
        return text;
    }
    if (static_cast<std::size_t>(index) >= result.rows.size())
        return CString();
    return JoinRow(result.rows[static_cast<std::size_t>(index)], withSeparators);
}

CString CDaoHelper::GetRecordAt(CString sql, int index)
{
    return index < 0 ? CString() : RowText(sql, index, TRUE);
}

CString CDaoHelper::GetValueAt(CString sql, int index)
{
    return index < 0 ? CString() : RowText(sql, index, FALSE);
}

CString CDaoHelper::GetFirstRow(CString sql)
{
    return RowText(sql, 0, TRUE);
}

CString CDaoHelper::GetValues(CString sql)
{
    return RowText(sql, -1, FALSE);
}

CString CDaoHelper::GetRows(CString sql)
{
    return RowText(sql, -1, TRUE);
}

double CDaoHelper::SumColumn(CString sql)
{
    const QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
        return 0;
    }
    double sum = 0;
    for (const auto& row : result.rows) {
        for (const CString& value : row)
            sum += static_cast<double>(LeadingInteger(value));
    }
    return sum;
}

int CDaoHelper::ProbeQuery(CString sql)
{
    const QueryResult result = Query(sql);
    if (result.ok)
        return 1;
    if (result.errorCode == kDaoErrorFileInUse)
        ReportDaoError(result.error);
    else
        AfxMessageBox("File Open Error.", MB_OK);
    return 0;
}

CString CDaoHelper::VariantToText(const COleVariant& value)
{
    CString text;
    const unsigned code = value.vt;
    switch (code) {
    case VT_EMPTY:
    case VT_NULL:
        text = "NULL";
        break;
    case VT_I2:
        text.Format("%hd", value.iVal);
        break;
    case VT_I4:
        text.Format("%d", value.lVal);
        break;
    case VT_R4:
        text = ExponentText(static_cast<double>(value.fltVal));
        break;
    case VT_R8:
        text = ExponentText(value.dblVal);
        break;
    case VT_CY:
        text = COleCurrency(value.cyVal).Format();
        break;
    case VT_DATE:
        text = COleDateTime(value.date).Format("%m %d %y");
        break;
    case VT_BSTR:
        text = value.bstrVal;
        break;
    case VT_BOOL:
        return value.boolVal ? "TRUE" : "FALSE";
    case VT_UI1:
        text.Format("0x%02hX", static_cast<unsigned short>(value.bVal));
        break;
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_VARIANT:
    case VT_UNKNOWN:
        text = TypeName(code);
        break;
    default:
        if ((code >= VT_I1 && code <= VT_LPWSTR) || (code >= VT_FILETIME && code <= VT_CLSID))
            text = TypeName(code);
        break;
    }
    const bool array = (code & VT_ARRAY) != 0;
    const bool byRef = (code & VT_BYREF) != 0;
    if (array)
        text = "Array of ";
    if (byRef)
        text += "Pointer to ";
    const unsigned base = code & ~static_cast<unsigned>(VT_ARRAY | VT_BYREF);
    if (array || byRef) {
        if (const char* name = TypeName(base))
            text += name;
    }
    return text;
}
