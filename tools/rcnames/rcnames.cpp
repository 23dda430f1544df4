// rcnames <out.rc> <in.rc> <header>...: writes the resource script with the
// id names of the headers replaced by their numbers (platform/base/resource_names.h).
// An id name no header defines fails the build.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/base/resource_names.h"

namespace {

bool ReadFile(const char* path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: rcnames <out.rc> <in.rc> <header>...\n");
        return 2;
    }
    ResourceNames names;
    std::string text;
    for (int i = 3; i < argc; ++i) {
        if (!ReadFile(argv[i], text)) {
            std::fprintf(stderr, "rcnames: cannot read %s\n", argv[i]);
            return 1;
        }
        ReadResourceNames(text, names);
    }
    if (!ReadFile(argv[2], text)) {
        std::fprintf(stderr, "rcnames: cannot read %s\n", argv[2]);
        return 1;
    }
    std::string resolved;
    std::string error;
    if (!ResolveResourceNames(text, names, resolved, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << resolved;
    return out ? 0 : 1;
}
