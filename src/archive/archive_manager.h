// Zip archives of data files: built one file per call, unpacked whole.
//
// Names are ANSI like every library text. Entries carry the file's bare name
// in UTF-8 with the format's UTF-8 flag, so every common zip tool shows the
// accented letters; unpacking turns entry names back into ANSI.
//
//   NewArchive("C:\out\send.zip")        1; an older send.zip is deleted
//   AddFileToArchive("C:\data\net.dat")  1; entry "net.dat", deflate level 1
//   CloseArchive()                       1; the archive was complete already
//   UnpackExistingArchive(zip, "C:\in")  1 when every entry was written
#pragma once

#include "platform/win32.h"

class JX_API ArchiveManager {
public:
    // The archive being built; empty when none is.
    char archive_path[MAX_PATH];

    ArchiveManager();
    ~ArchiveManager();

    // Starts a new archive of that name, deleting an existing file of the
    // name. 0 when the name is longer than 259 characters (archive_path
    // then holds the cut name and nothing is deleted).
    int NewArchive(char* archive_name);
    // Adds the file under its bare name. 0 when no archive is being built,
    // the file cannot be read whole, or the entry cannot be added.
    int AddFileToArchive(char* file_name);
    // Ends the archive being built; always 1.
    int CloseArchive();
    // Writes every entry of the archive into target_dir. 0 when the archive
    // cannot be read, an entry is refused or cannot be extracted, or an
    // output file cannot be written. Does not use archive_path.
    int UnpackExistingArchive(char* archive_name, char* target_dir);
};

// One entry of an archive as jx_list_archive reports it.
struct JxArchiveEntry {
    // The entry name in ANSI; characters without an ANSI form are '?' and
    // has_ansi_name is false (such an entry is never unpacked).
    char name[MAX_PATH];
    bool has_ansi_name;
    unsigned long long size;
    unsigned long long compressed_size;
};

// Calls visit for every entry of the archive in its order. 1 when the archive
// could be read, 0 when not (visit is then not called).
JX_API int jx_list_archive(const char* archive_name,
                           void (*visit)(const JxArchiveEntry& entry, void* context),
                           void* context);
