#include "platform/posix/media/file_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/system_path.h"
#include "text/utf.h"

namespace trallio::media {

namespace {

void AppendUtf8(std::string& out, char32_t point) {
    char bytes[5];
    out.append(bytes, PutUtf8(point, bytes, sizeof bytes, 0));
}

bool HasHighUnits(const std::u16string& name) {
    for (char16_t unit : name) {
        if (unit >= 0x80 && unit <= 0xFF) {
            return true;
        }
    }
    return false;
}

std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') {
        return path;
    }
    char* directory = getcwd(nullptr, 0);
    if (directory == nullptr) {
        return path;
    }
    std::string absolute(directory);
    std::free(directory);
    if (absolute.empty() || absolute.back() != '/') {
        absolute += '/';
    }
    return absolute + path;
}

FileCheck Check(const std::string& path) {
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0) {
        return FileCheck::Missing;
    }
    if (!S_ISREG(info.st_mode)) {
        return FileCheck::NotAFile;
    }
    return access(path.c_str(), R_OK) == 0 ? FileCheck::Readable : FileCheck::Missing;
}

}  // namespace

std::string NameToPath(const std::u16string& name, bool utf8) {
    std::string path;
    path.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        if (unit <= 0x7F) {
            path += SystemPathChar(static_cast<char>(unit));
        } else if (unit <= 0xFF && !utf8) {
            path += static_cast<char>(unit);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
                   name[i + 1] <= 0xDFFF) {
            AppendUtf8(path, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                 (static_cast<char32_t>(name[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(path, 0xFFFD);  // a surrogate without its partner
        } else {
            AppendUtf8(path, unit);
        }
    }
    return path;
}

FileCheck FindFile(const std::u16string& name, std::string& path) {
    path = Absolute(NameToPath(name, false));
    const FileCheck raw = Check(path);
    if (raw != FileCheck::Missing || !HasHighUnits(name)) {
        return raw;
    }
    std::string encoded = Absolute(NameToPath(name, true));
    const FileCheck utf8 = Check(encoded);
    if (utf8 != FileCheck::Missing) {
        path = encoded;
        return utf8;
    }
    return raw;
}

}  // namespace trallio::media
