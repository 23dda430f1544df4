// mkdb: builds a keyed store database template from schema files.
// Usage: mkdb <out.mdb> <password> <schema.sql>...
// The schema files hold statements in the engine's Jet dialect, each ended by a
// semicolon; "--" starts a comment that runs to the end of the line. The
// statements run in order through the DAO stand-in, so the template carries the
// same Jet rules as any database the programs create.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_exception.h"

namespace {

// Splits a script into statements at semicolons outside quotes and brackets.
std::vector<std::string> SplitStatements(const std::string& script)
{
    std::vector<std::string> out;
    std::string current;
    char closer = 0; // the quote or bracket being read, 0 outside
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (closer) {
            current += c;
            if (c == closer)
                closer = 0;
        } else if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            while (i < script.size() && script[i] != '\n')
                ++i;
            current += '\n';
        } else if (c == ';') {
            out.push_back(current);
            current.clear();
        } else {
            if (c == '\'')
                closer = '\'';
            else if (c == '[')
                closer = ']';
            current += c;
        }
    }
    if (current.find_first_not_of(" \t\r\n") != std::string::npos)
        out.push_back(current);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: mkdb <out.mdb> <password> <schema.sql>...\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string temp = out + ".tmp";
    std::remove(temp.c_str());
    try {
        CDaoDatabase db;
        db.Create(temp.c_str(), (std::string(dbLangGeneral) + ";pwd=" + argv[2]).c_str());
        for (int i = 3; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "mkdb: cannot read %s\n", argv[i]);
                return 1;
            }
            std::stringstream script;
            script << in.rdbuf();
            for (const std::string& statement : SplitStatements(script.str())) {
                try {
                    db.Execute(statement.c_str());
                } catch (CException* e) {
                    std::fprintf(stderr, "mkdb: %s: %s\n  in: %s\n", argv[i], e->GetErrorText().GetString(),
                        statement.c_str());
                    e->Delete();
                    return 1;
                }
            }
        }
        db.Close();
    } catch (CException* e) {
        std::fprintf(stderr, "mkdb: %s: %s\n", out.c_str(), e->GetErrorText().GetString());
        e->Delete();
        return 1;
    }
    if (std::rename(temp.c_str(), out.c_str()) != 0) {
        std::fprintf(stderr, "mkdb: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
