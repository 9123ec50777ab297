#include "editing/ImportParsers.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"

namespace tarnwick {
namespace {

// One line at a time without its line end (LF, or CR LF), as text mode reads.
// The line stays valid until the next call.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual bool Next(std::string_view& line) = 0;
    // An errno value when reading failed, else 0.
    virtual int Error() const { return 0; }
};

void DropLineEnd(std::string_view& line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
}

class BytesSource : public LineSource {
public:
    explicit BytesSource(std::string_view bytes) : m_rest(bytes) {}
    bool Next(std::string_view& line) override {
        if (m_rest.empty()) {
            return false;
        }
        const size_t end = m_rest.find('\n');
        line = end == std::string_view::npos ? m_rest : m_rest.substr(0, end + 1);
        m_rest.remove_prefix(line.size());
        DropLineEnd(line);
        return true;
    }

private:
    std::string_view m_rest;
};

class FileSource : public LineSource {
public:
    explicit FileSource(const std::string& path) {
        m_nError = CheckImportFile(path);
        if (m_nError == 0) {
            m_pFile = std::fopen(path.c_str(), "rb");
            if (m_pFile == nullptr) {
                m_nError = errno != 0 ? errno : EIO;
            }
        }
    }
    ~FileSource() override {
        if (m_pFile != nullptr) {
            std::fclose(m_pFile);
        }
        std::free(m_pBuffer);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool Next(std::string_view& line) override {
        if (m_pFile == nullptr) {
            return false;
        }
        errno = 0;
        const ssize_t n = getline(&m_pBuffer, &m_nCapacity, m_pFile);
        if (n < 0) {
            if (std::ferror(m_pFile) != 0) {
                m_nError = errno != 0 ? errno : EIO;
            }
            return false;
        }
        line = std::string_view(m_pBuffer, static_cast<size_t>(n));
        DropLineEnd(line);
        return true;
    }
    int Error() const override { return m_nError; }

private:
    FILE* m_pFile = nullptr;
    char* m_pBuffer = nullptr;
    size_t m_nCapacity = 0;
    int m_nError = 0;
};

// A failed read wins over what the lines said: the list is then incomplete.
ImportResult Finish(ImportResult result, const LineSource& source) {
    if (source.Error() != 0) {
        result.m_eEnd = ImportEnd::Unreadable;
        result.m_nError = source.Error();
        result.m_strMessage.clear();
    }
    return result;
}

ImportResult RunCsv(LineSource& source) {
    ImportResult result;
    std::string_view line;
    while (source.Next(line) && !line.empty()) {
        const size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            result.m_rows.push_back({std::string(), std::string(line)});
        } else {
            result.m_rows.push_back(
                {std::string(line.substr(0, comma)), std::string(line.substr(comma + 1))});
        }
    }
    return Finish(std::move(result), source);
}

bool HasPlainSeparator(std::string_view line) {
    return line.find_first_of(" *|^!") != std::string_view::npos;
}

ImportResult RunPlainText(LineSource& source) {
    ImportResult result;
    std::string_view line;
    while (source.Next(line)) {
        const std::string_view trimmed = TrimSpace(line);
        if (HasPlainSeparator(trimmed)) {
            result.m_eEnd = ImportEnd::FormatError;
            result.m_strMessage = texts::kPlainFormat;
            break;
        }
        if (!trimmed.empty()) {
            result.m_rows.push_back({std::string(trimmed), std::string()});
        }
    }
    return Finish(std::move(result), source);
}

ImportResult RunSeparatedText(LineSource& source, const std::string& separator) {
    ImportResult result;
    std::string_view line;
    while (source.Next(line)) {
        const std::string_view trimmed = TrimSpace(line);
        if (trimmed.empty()) {
            continue;
        }
        const size_t p = separator.empty() ? std::string_view::npos : trimmed.find(separator);
        if (p == std::string_view::npos) {
            result.m_eEnd = ImportEnd::FormatError;
            result.m_strMessage = texts::kSeparatedFormat;
            break;
        }
        result.m_rows.push_back(
            {std::string(trimmed.substr(0, p)), std::string(trimmed.substr(p + separator.size()))});
    }
    return Finish(std::move(result), source);
}

}  // namespace

ImportResult ImportCsv(const std::string& path) {
    FileSource source(path);
    return RunCsv(source);
}

ImportResult ImportPlainText(const std::string& path) {
    FileSource source(path);
    return RunPlainText(source);
}

ImportResult ImportSeparatedText(const std::string& path, const std::string& separator) {
    FileSource source(path);
    return RunSeparatedText(source, separator);
}

ImportResult ParseCsv(std::string_view bytes) {
    BytesSource source(bytes);
    return RunCsv(source);
}

ImportResult ParsePlainText(std::string_view bytes) {
    BytesSource source(bytes);
    return RunPlainText(source);
}

ImportResult ParseSeparatedText(std::string_view bytes, const std::string& separator) {
    BytesSource source(bytes);
    return RunSeparatedText(source, separator);
}

int CheckImportFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno != 0 ? errno : ENOENT;
    }
    if (S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    // Pipes and devices could block or never end.
    if (!S_ISREG(st.st_mode)) {
        return EINVAL;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return errno != 0 ? errno : EACCES;
    }
    std::fclose(file);
    return 0;
}

const char* CheckSeparator(SeparatorChoice choice, std::string_view otherText) {
    switch (choice) {
        case SeparatorChoice::None:
            return texts::kSelectSeparator;
        case SeparatorChoice::Semicolon:
        case SeparatorChoice::Comma:
            return nullptr;
        case SeparatorChoice::Other:
            break;
    }
    const std::string_view symbol = TrimSpace(otherText);
    if (symbol.empty()) {
        return texts::kEnterSeparator;
    }
    if (symbol.size() != 1 ||
        std::string_view("!^*|").find(symbol.front()) == std::string_view::npos) {
        return texts::kSeparatorSymbols;
    }
    return nullptr;
}

std::string SeparatorOf(SeparatorChoice choice, const std::string& otherText) {
    switch (choice) {
        case SeparatorChoice::Semicolon:
            return ";";
        case SeparatorChoice::Comma:
            return ",";
        default:
            return otherText;
    }
}

}  // namespace tarnwick
