// Build-time helper: zipdescription <archive.zip> <description.xml>
// Packs one description file into a DEFLATE zip archive under its own file
// name, as cameras serve zipped descriptions.
#include <zip.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <archive.zip> <description.xml>\n", argv[0]);
        return 2;
    }
    const std::string lcInput = argv[2];
    const std::string lcEntry = lcInput.substr(lcInput.find_last_of('/') + 1);
    int lnError = 0;
    zip_t* lpArchive = zip_open(argv[1], ZIP_CREATE | ZIP_TRUNCATE, &lnError);
    if (lpArchive == nullptr)
    {
        std::fprintf(stderr, "cannot create %s (libzip error %d)\n", argv[1], lnError);
        return 1;
    }
    zip_source_t* lpSource = zip_source_file(lpArchive, lcInput.c_str(), 0, -1);
    const zip_int64_t lnIndex =
        lpSource != nullptr ? zip_file_add(lpArchive, lcEntry.c_str(), lpSource, ZIP_FL_OVERWRITE) : -1;
    if (lnIndex < 0)
    {
        std::fprintf(stderr, "cannot add %s: %s\n", lcInput.c_str(), zip_strerror(lpArchive));
        zip_source_free(lpSource);
        zip_discard(lpArchive);
        return 1;
    }
    // A fixed date keeps the archive identical from build to build.
    const time_t lnFixedTime = 1704067200; // 2024-01-01
    if (zip_set_file_compression(lpArchive, zip_uint64_t(lnIndex), ZIP_CM_DEFLATE, 9) != 0 ||
        zip_file_set_mtime(lpArchive, zip_uint64_t(lnIndex), lnFixedTime, 0) != 0 ||
        zip_close(lpArchive) != 0)
    {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], zip_strerror(lpArchive));
        zip_discard(lpArchive);
        return 1;
    }
    return 0;
}
