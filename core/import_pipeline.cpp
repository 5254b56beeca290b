#include "core/import_pipeline.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "core/file_source.h"

namespace {

ImportReadResult refused(ImportRefusal::Reason reason, std::string detail = {}) {
    ImportReadResult result;
    result.refusal = {reason, std::move(detail)};
    return result;
}

std::string extensionOf(const std::string& name) {
    std::string extension = name.substr(std::min(name.size(), name.rfind('.')));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool namedAsPackage(const std::string& name) {
    const std::string extension = extensionOf(name);
    return extension == ".apkg" || extension == ".colpkg";
}

ImportRefusal::Reason reasonOf(AnkiRefusal refusal) {
    using Reason = ImportRefusal::Reason;
    switch (refusal) {
        case AnkiRefusal::None:
            return Reason::None;
        case AnkiRefusal::CannotOpen:
            return Reason::CannotRead;
        case AnkiRefusal::NotZip:
        case AnkiRefusal::NoCollection:
            return Reason::NotPackage;
        case AnkiRefusal::TooLarge:
        case AnkiRefusal::SuspiciousRatio:
            return Reason::PackageTooLarge;
        case AnkiRefusal::TooNew:
            return Reason::PackageTooNew;
        case AnkiRefusal::TooOld:
            return Reason::PackageTooOld;
        case AnkiRefusal::Damaged:
            return Reason::PackageDamaged;
        case AnkiRefusal::CannotUnpack:
            return Reason::CannotUnpack;
    }
    return Reason::PackageDamaged;
}

// Whether the file is a KVTML document: by its extension, or by its first element.
bool looksLikeKvtml(const std::string& name, std::string_view bytes) {
    if (extensionOf(name) == ".kvtml")
        return true;
    // Saved under another name, a KVTML document still starts as XML and names its root
    // element within the first lines.
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !bytes.substr(start).starts_with("<?xml"))
        return false;
    return bytes.substr(0, 4096).find("<kvtml") != std::string_view::npos;
}

}  // namespace

ImportReadResult ImportSource::counted(ImportSource source) {
    source.countRows();
    if (source.rowCount() == 0)
        return refused(ImportRefusal::Reason::NoCards);
    ImportReadResult result;
    result.source = std::move(source);
    return result;
}

// A package gives one card per note; its media are only listed.
ImportReadResult ImportSource::fromPackage(AnkiReadResult read, const ImportOptions& options) {
    if (!read.ok())
        return refused(reasonOf(read.refusal), std::move(read.detail));
    ImportSource source;
    source.kind_ = ImportKind::AnkiPackage;
    source.anki_ = makeAnkiImport(std::move(read.package), options.maxLevel);
    return counted(std::move(source));
}

ImportReadResult readImportSource(const std::string& path, const ImportOptions& options) {
    if (namedAsPackage(path)) {
        std::error_code error;
        const auto status = std::filesystem::status(path, error);
        if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
            return refused(ImportRefusal::Reason::NotRegularFile);
        return ImportSource::fromPackage(readAnkiPackage(path), options);
    }
    FileSource file(path, kMaxImportFileBytes);
    switch (file.failure()) {
        case FileFailure::None:
            break;
        case FileFailure::NotRegularFile:
            return refused(ImportRefusal::Reason::NotRegularFile);
        case FileFailure::TooLarge:
            return refused(ImportRefusal::Reason::TooLarge);
        default:
            return refused(ImportRefusal::Reason::CannotRead);
    }
    std::string bytes;
    bytes.reserve(file.sizeHint());
    char buffer[64 * 1024];
    while (const std::size_t n = file.read(buffer, sizeof buffer))
        bytes.append(buffer, n);
    if (file.failed())
        return refused(ImportRefusal::Reason::CannotRead);
    return readImportSource(std::move(bytes), path, options);
}

ImportReadResult readImportSource(std::string bytes, const std::string& name,
                                  const ImportOptions& options) {
    if (namedAsPackage(name))
        return ImportSource::fromPackage(readAnkiPackageBytes(bytes), options);
    // A package under another name is still taken for one; any other zip (a document of an
    // office suite, say) is refused as what it is, no text.
    if (std::string_view(bytes).starts_with("PK\x03\x04")) {
        AnkiReadResult read = readAnkiPackageBytes(bytes);
        if (read.refusal != AnkiRefusal::NotZip && read.refusal != AnkiRefusal::NoCollection &&
            read.refusal != AnkiRefusal::Damaged)
            return ImportSource::fromPackage(std::move(read), options);
    }
    ImportSource source;
    if (looksLikeKvtml(name, bytes)) {
        source.kind_ = ImportKind::Kvtml;
        source.kvtml_ = readKvtml(bytes, options.maxLevel);
        if (source.kvtml_.status != KvtmlImport::Status::Read)
            return refused(ImportRefusal::Reason::BrokenKvtml, describeKvtmlFailure(source.kvtml_));
    } else {
        source.kind_ = ImportKind::Text;
        source.bytes_ = std::move(bytes);
        source.text_ = importText(source.bytes_, options.text);
        if (source.text_.status == TextImport::Status::NotText)
            return refused(ImportRefusal::Reason::NotText);
        source.mapping_ = options.mapping ? *options.mapping : suggestMapping(source.text_);
    }
    return ImportSource::counted(std::move(source));
}
