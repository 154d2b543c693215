// Portable file access for zellint; see files.h.
#include "files.h"

#include <dirent.h>
#include <stdio.h>
#include <strings.h>
#include <sys/stat.h>

PathKind KindOf(const std::string &path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return PathKind::kMissing;
    return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

bool ReadWholeFile(const std::string &path, std::string *bytes) {
    FILE *file = fopen(path.c_str(), "rb");
    if (file == NULL)
        return false;
    bytes->clear();
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes->append(chunk, got);
    bool ok = ferror(file) == 0;
    fclose(file);
    return ok;
}

bool ReadFileStart(const std::string &path, size_t limit, std::string *bytes, uint64_t *size) {
    struct stat info;
    FILE *file = stat(path.c_str(), &info) == 0 ? fopen(path.c_str(), "rb") : NULL;
    if (file == NULL)
        return false;
    *size = (uint64_t)info.st_size;
    bytes->assign(limit, '\0');
    bytes->resize(fread(&(*bytes)[0], 1, limit, file));
    fclose(file);
    return true;
}

bool WriteWholeFile(const std::string &path, const std::string &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (file == NULL)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

// One part of a path in any letter case: the exact name first, then a folder scan.
static std::string FindPart(const std::string &folder, const std::string &part) {
    std::string exact = folder + "/" + part;
    if (KindOf(exact) != PathKind::kMissing)
        return exact;
    std::string found;
    if (DIR *dir = opendir(folder.c_str())) {
        while (struct dirent *item = readdir(dir)) {
            if (strcasecmp(item->d_name, part.c_str()) == 0) {
                found = folder + "/" + item->d_name;
                break;
            }
        }
        closedir(dir);
    }
    return found;
}

std::string FindInFolder(const std::string &folder, const std::string &name) {
    std::string at = folder;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        std::string part = name.substr(start, end - start);
        if (!part.empty() && part != ".") {
            at = FindPart(at, part);
            if (at.empty())
                return at;
        }
        start = end + 1;
    }
    return KindOf(at) == PathKind::kFile ? at : std::string();
}

std::string FolderOf(const std::string &path) {
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}
