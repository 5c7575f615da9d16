#include "zipreader.h"

#include <Base/GCException.h>

#include <zip.h>

#include <memory>
#include <strings.h>
#include <vector>

namespace GenApi
{

namespace
{
// A description is a few megabytes at most; anything far larger is a
// damaged or hostile archive.
const zip_uint64_t gnMaxEntrySize = 256ull << 20;

struct tsArchiveCloser
{
    void operator()(zip_t* apArchive) const { zip_discard(apArchive); }
};
struct tsFileCloser
{
    void operator()(zip_file_t* apFile) const { zip_fclose(apFile); }
};

bool isDescriptionName(const std::string& arName)
{
    if (arName.empty() || arName.back() == '/')
        return false;
    const size_t nSlash = arName.rfind('/');
    const std::string sBase = nSlash == std::string::npos ? arName : arName.substr(nSlash + 1);
    // Resource forks that archivers on some systems add carry the same
    // file name with a "._" prefix, in a "__MACOSX" folder.
    if (arName.compare(0, 9, "__MACOSX/") == 0 || sBase.compare(0, 2, "._") == 0)
        return false;
    return sBase.size() > 4 && strcasecmp(sBase.c_str() + sBase.size() - 4, ".xml") == 0;
}
} // namespace

std::string tcZipReader::extractDescription(const void* apData, size_t anSize)
{
    if (!apData || anSize == 0)
        throw RUNTIME_EXCEPTION("The zipped description is empty");
    zip_error_t cError;
    zip_error_init(&cError);
    zip_source_t* pSource = zip_source_buffer_create(apData, anSize, 0, &cError);
    if (!pSource)
    {
        zip_error_fini(&cError);
        throw RUNTIME_EXCEPTION("Cannot read the zipped description");
    }
    std::unique_ptr<zip_t, tsArchiveCloser> pArchive(
        zip_open_from_source(pSource, ZIP_RDONLY | ZIP_CHECKCONS, &cError));
    if (!pArchive)
    {
        const std::string sReason = zip_error_strerror(&cError);
        zip_source_free(pSource);
        zip_error_fini(&cError);
        throw RUNTIME_EXCEPTION("The zipped description is damaged: %s", sReason.c_str());
    }
    zip_error_fini(&cError);

    const zip_int64_t nEntries = zip_get_num_entries(pArchive.get(), 0);
    for (zip_int64_t i = 0; i < nEntries; ++i)
    {
        const char* pName = zip_get_name(pArchive.get(), static_cast<zip_uint64_t>(i), 0);
        if (!pName || !isDescriptionName(pName))
            continue;
        zip_stat_t cStat;
        zip_stat_init(&cStat);
        if (zip_stat_index(pArchive.get(), static_cast<zip_uint64_t>(i), 0, &cStat) != 0 ||
            !(cStat.valid & ZIP_STAT_SIZE))
            throw RUNTIME_EXCEPTION("Cannot read entry '%s' of the zipped description", pName);
        if (cStat.size > gnMaxEntrySize)
            throw RUNTIME_EXCEPTION("Entry '%s' of the zipped description is too large", pName);
        std::unique_ptr<zip_file_t, tsFileCloser> pFile(
            zip_fopen_index(pArchive.get(), static_cast<zip_uint64_t>(i), 0));
        if (!pFile)
            throw RUNTIME_EXCEPTION("Cannot open entry '%s' of the zipped description", pName);
        std::string sText(static_cast<size_t>(cStat.size), '\0');
        zip_uint64_t nDone = 0;
        while (nDone < cStat.size)
        {
            const zip_int64_t nRead = zip_fread(pFile.get(), &sText[nDone], cStat.size - nDone);
            if (nRead <= 0)
                throw RUNTIME_EXCEPTION("Entry '%s' of the zipped description is truncated or damaged",
                                        pName);
            nDone += static_cast<zip_uint64_t>(nRead);
        }
        return sText;
    }
    throw RUNTIME_EXCEPTION("The zip archive holds no XML description");
}

} // namespace GenApi
