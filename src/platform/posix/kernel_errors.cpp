// Win32 error codes over POSIX: the per-thread last error, the errno table,
// the system's message texts, and the local heap that FormatMessageA hands
// its texts out from.
#include "layer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

thread_local DWORD t_last_error = 0;

struct ErrnoCode {
    int error;
    DWORD code;
};

const ErrnoCode kErrnoTable[] = {
    {EPERM, ERROR_ACCESS_DENIED},
    {ENOENT, ERROR_FILE_NOT_FOUND},
    {EIO, ERROR_IO_DEVICE},
    {ENXIO, ERROR_FILE_NOT_FOUND},
    {E2BIG, ERROR_INVALID_PARAMETER},
    {EBADF, ERROR_INVALID_HANDLE},
    {EAGAIN, ERROR_SHARING_VIOLATION},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    {EACCES, ERROR_ACCESS_DENIED},
    {EFAULT, ERROR_NOACCESS},
    {EBUSY, ERROR_BUSY},
    {EEXIST, ERROR_FILE_EXISTS},
    {EXDEV, ERROR_NOT_SUPPORTED},
    {ENODEV, ERROR_INVALID_DRIVE},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {EISDIR, ERROR_ACCESS_DENIED},
    {EINVAL, ERROR_INVALID_PARAMETER},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ETXTBSY, ERROR_SHARING_VIOLATION},
    {EFBIG, ERROR_DISK_FULL},
    {ENOSPC, ERROR_DISK_FULL},
    {ESPIPE, ERROR_INVALID_PARAMETER},
    {EROFS, ERROR_WRITE_PROTECT},
    {EMLINK, ERROR_TOO_MANY_OPEN_FILES},
    {EPIPE, ERROR_BROKEN_PIPE},
    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ENOLCK, ERROR_LOCK_VIOLATION},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {ELOOP, ERROR_PATH_NOT_FOUND},
    {EDQUOT, ERROR_DISK_FULL},
    {EOVERFLOW, ERROR_INVALID_PARAMETER},
    {EILSEQ, ERROR_NO_UNICODE_TRANSLATION},
    {ENOTSUP, ERROR_NOT_SUPPORTED},
};

// Our own wording of the system's message for each code the layer produces.
struct MessageText {
    DWORD code;
    const char* text;
};

const MessageText kMessages[] = {
    {ERROR_SUCCESS, "No error occurred."},
    {ERROR_INVALID_FUNCTION, "This function is not supported for the object."},
    {ERROR_FILE_NOT_FOUND, "The file could not be found."},
    {ERROR_PATH_NOT_FOUND, "The path could not be found."},
    {ERROR_TOO_MANY_OPEN_FILES, "Too many files are open."},
    {ERROR_ACCESS_DENIED, "Access to the file or folder was refused."},
    {ERROR_INVALID_HANDLE, "The handle is not valid."},
    {ERROR_NOT_ENOUGH_MEMORY, "There is not enough memory for this operation."},
    {ERROR_OUTOFMEMORY, "There is not enough memory for this operation."},
    {ERROR_INVALID_DRIVE, "The drive could not be found."},
    {ERROR_WRITE_PROTECT, "The medium is write-protected."},
    {ERROR_NOT_READY, "The device is not ready."},
    {ERROR_SHARING_VIOLATION,
     "The file is in use by another program or user and cannot be opened."},
    {ERROR_LOCK_VIOLATION, "A part of the file is locked by another program."},
    {ERROR_HANDLE_EOF, "The end of the file has been reached."},
    {ERROR_HANDLE_DISK_FULL, "The disk is full."},
    {ERROR_NOT_SUPPORTED, "This request is not supported."},
    {ERROR_BAD_NETPATH, "The network path could not be found."},
    {ERROR_FILE_EXISTS, "A file of that name already exists."},
    {ERROR_INVALID_PARAMETER, "A parameter is not valid."},
    {ERROR_BROKEN_PIPE, "The pipe has been closed."},
    {ERROR_DISK_FULL, "There is not enough space left on the disk."},
    {ERROR_INSUFFICIENT_BUFFER, "The buffer is too small for the data."},
    {ERROR_INVALID_NAME, "The file name, folder name or volume label is not valid."},
    {ERROR_NEGATIVE_SEEK, "The file position cannot be moved before the start of the file."},
    {ERROR_DIR_NOT_EMPTY, "The folder is not empty."},
    {ERROR_BAD_PATHNAME, "The path name is not valid."},
    {ERROR_BUSY, "The resource is busy."},
    {ERROR_ALREADY_EXISTS, "A file of that name already exists."},
    {ERROR_FILENAME_EXCED_RANGE, "The file name or path is too long."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_DIRECTORY, "The folder name is not valid."},
    {ERROR_MR_MID_NOT_FOUND, "There is no message text for this error code."},
    {ERROR_NOACCESS, "The memory address is not valid for this access."},
    {ERROR_NO_UNICODE_TRANSLATION, "A character has no equivalent in the target code page."},
    {ERROR_IO_DEVICE, "An input or output error occurred on the device."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "The module holds no resources."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The module holds no resources of this type."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "The module holds no resource of this name."},
    {ERROR_RESOURCE_LANG_NOT_FOUND, "The module holds no resource in this language."},
};

const char* message_text(DWORD code) {
    for (const MessageText& m : kMessages)
        if (m.code == code) return m.text;
    return nullptr;
}

} // namespace

namespace jx::posix {

DWORD win32_error_from_errno(int error) {
    for (const ErrnoCode& e : kErrnoTable)
        if (e.error == error) return e.code;
    return ERROR_INVALID_FUNCTION;
}

DWORD missing_entry_error(const std::string& native_path) {
    const size_t slash = native_path.find_last_of('/');
    if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND; // in the current folder
    const std::string parent = slash == 0 ? "/" : native_path.substr(0, slash);
    struct stat info;
    if (::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return ERROR_FILE_NOT_FOUND;
    return ERROR_PATH_NOT_FOUND;
}

} // namespace jx::posix

using jx::posix::fail;

extern "C" {

DWORD WINAPI GetLastError(void) {
    return t_last_error;
}

void WINAPI SetLastError(DWORD code) {
    t_last_error = code;
}

// The local heap is the C heap; a block remembers nothing but its bytes.
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
    void* block = (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1)
                                          : std::malloc(bytes ? bytes : 1);
    if (!block) return fail<HLOCAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    return block;
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

// Only system messages are supported, which is all the library asks for.
// Inserts are never expanded. The text ends in "\r\n" as Windows' texts do.
DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD message_id, DWORD, LPSTR buffer, DWORD size,
                            va_list*) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer)
        return fail<DWORD>(ERROR_INVALID_PARAMETER, 0);
    const char* text = message_text(message_id);
    if (!text) return fail<DWORD>(ERROR_MR_MID_NOT_FOUND, 0);

    const DWORD length = static_cast<DWORD>(std::strlen(text)) + 2; // with "\r\n"
    char* out;
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        const DWORD bytes = (length + 1 > size ? length + 1 : size);
        out = static_cast<char*>(LocalAlloc(LMEM_FIXED, bytes));
        if (!out) return 0;
        *reinterpret_cast<char**>(buffer) = out;
    } else {
        if (size < length + 1) return fail<DWORD>(ERROR_INSUFFICIENT_BUFFER, 0);
        out = buffer;
    }
    std::memcpy(out, text, length - 2);
    std::memcpy(out + length - 2, "\r\n", 3);
    return length;
}
}
