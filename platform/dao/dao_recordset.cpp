#include "platform/dao/dao_recordset.h"

#include <cstdlib>
#include <mutex>

#include "platform/dao/dao_database.h"
#include "platform/dao/dao_database_impl.h"
#include "platform/dao/dao_exception.h"

namespace {

constexpr const char* kSource = "DAO.Recordset";

[[noreturn]] void NoCurrentRecord()
{
    AfxThrowDaoException(static_cast<long>(JetError::NoCurrentRecord), "No current record.", kSource);
}

[[noreturn]] void ItemNotFound()
{
    AfxThrowDaoException(3265, "Item not found in this collection.", kSource);
}

// Field type, size and attributes from a declared column type.
void DescribeType(const CString& declType, CDaoFieldInfo& info)
{
    CString type = declType;
    type.MakeUpper();
    if (type.Left(5) == "TEXT(") {
        info.m_nType = dbText;
        info.m_lSize = std::atol(type.Mid(5));
        info.m_lAttributes = dbVariableField;
    } else if (type == "INTEGER") {
        info.m_nType = dbLong;
        info.m_lSize = 4;
        info.m_lAttributes = dbFixedField | dbAutoIncrField;
    } else if (type == "LONG") {
        info.m_nType = dbLong;
        info.m_lSize = 4;
        info.m_lAttributes = dbFixedField;
    } else if (type == "LONGTEXT") {
        info.m_nType = dbMemo;
        info.m_lSize = 0;
        info.m_lAttributes = dbVariableField;
    } else {
        info.m_nType = dbText;
        info.m_lSize = 255;
        info.m_lAttributes = dbVariableField;
    }
}

} // namespace

struct CDaoRecordset::Impl {
    bool open = false;
    DaoResult result;
    long position = 0; // -1 = BOF, size = EOF
    long visited = 0;

    long Size() const { return static_cast<long>(result.rows.size()); }
    bool HasCurrent() const { return open && position >= 0 && position < Size(); }
    void MoveTo(long row)
    {
        position = row < 0 ? -1 : (row > Size() ? Size() : row);
        if (HasCurrent() && position + 1 > visited)
            visited = position + 1;
    }
    const std::vector<COleVariant>& CurrentRow() const
    {
        if (!HasCurrent())
            NoCurrentRecord();
        return result.rows[static_cast<std::size_t>(position)];
    }
};

CDaoRecordset::CDaoRecordset(CDaoDatabase* database)
    : m_pDatabase(database)
    , m_impl(std::make_unique<Impl>())
{ }

CDaoRecordset::~CDaoRecordset() = default;

void CDaoRecordset::Open(int, LPCTSTR sql, int)
{
    Close();
    if (!m_pDatabase)
        AfxThrowDaoException(
            static_cast<long>(JetError::NotOpen), "Object invalid or no longer set.", kSource);
    DaoResult result;
    {
        CDaoDatabase::Impl& db = *m_pDatabase->m_impl;
        std::lock_guard<std::mutex> lock(db.lock);
        if (!db.connection)
            AfxThrowDaoException(
                static_cast<long>(JetError::NotOpen), "Object invalid or no longer set.", kSource);
        ThrowIfFailed(DaoQuery(*db.connection, CString(sql ? sql : ""), result), kSource);
    }
    m_impl->result = std::move(result);
    m_impl->open = true;
    m_impl->visited = 0;
    m_impl->MoveTo(0);
}

void CDaoRecordset::Close()
{
    m_impl->open = false;
    m_impl->result = DaoResult();
    m_impl->position = 0;
    m_impl->visited = 0;
}

BOOL CDaoRecordset::IsOpen() const
{
    return m_impl->open;
}

BOOL CDaoRecordset::IsEOF() const
{
    return m_impl->open && (m_impl->position >= m_impl->Size() || m_impl->Size() == 0);
}

BOOL CDaoRecordset::IsBOF() const
{
    return m_impl->open && (m_impl->position < 0 || m_impl->Size() == 0);
}

void CDaoRecordset::MoveNext()
{
    if (!m_impl->HasCurrent())
        NoCurrentRecord();
    m_impl->MoveTo(m_impl->position + 1);
}

void CDaoRecordset::MovePrev()
{
    if (!m_impl->HasCurrent())
        NoCurrentRecord();
    m_impl->MoveTo(m_impl->position - 1);
}

void CDaoRecordset::MoveFirst()
{
    if (!m_impl->open || m_impl->Size() == 0)
        NoCurrentRecord();
    m_impl->MoveTo(0);
}

void CDaoRecordset::MoveLast()
{
    if (!m_impl->open || m_impl->Size() == 0)
        NoCurrentRecord();
    m_impl->MoveTo(m_impl->Size() - 1);
}

void CDaoRecordset::Move(long rows)
{
    if (!m_impl->HasCurrent())
        NoCurrentRecord();
    m_impl->MoveTo(m_impl->position + rows);
}

long CDaoRecordset::GetRecordCount() const
{
    return m_impl->open ? m_impl->visited : 0;
}

short CDaoRecordset::GetFieldCount() const
{
    return m_impl->open ? static_cast<short>(m_impl->result.fields.size()) : 0;
}

COleVariant CDaoRecordset::GetFieldValue(int index)
{
    const std::vector<COleVariant>& row = m_impl->CurrentRow();
    if (index < 0 || static_cast<std::size_t>(index) >= row.size())
        ItemNotFound();
    return row[static_cast<std::size_t>(index)];
}

COleVariant CDaoRecordset::GetFieldValue(LPCTSTR name)
{
    for (std::size_t i = 0; i < m_impl->result.fields.size(); ++i) {
        if (m_impl->result.fields[i].name.CompareNoCase(name ? name : "") == 0)
            return GetFieldValue(static_cast<int>(i));
    }
    ItemNotFound();
}

void CDaoRecordset::GetFieldValue(int index, COleVariant& value)
{
    value = GetFieldValue(index);
}

void CDaoRecordset::GetFieldInfo(int index, CDaoFieldInfo& info, DWORD)
{
    if (!m_impl->open || index < 0 || static_cast<std::size_t>(index) >= m_impl->result.fields.size())
        ItemNotFound();
    const DaoFieldDesc& field = m_impl->result.fields[static_cast<std::size_t>(index)];
    info = CDaoFieldInfo();
    info.m_strName = field.name;
    info.m_nOrdinalPosition = static_cast<short>(index);
    info.m_strSourceTable = field.table;
    info.m_strSourceField = field.table.IsEmpty() ? CString() : field.name;
    DescribeType(field.declType, info);
}
