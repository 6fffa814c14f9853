// The catalog ids that the library itself loads or records. Every other id
// belongs to the host.
#pragma once

namespace jx::catalog {

enum Id : int {
    kWindowsError = 1, // an error record's code for "show the Windows error"
    kDataEntryError = 98,
    kStatusTitle = 99,
    kWarningTitle = 100,
    kFileError = 101,
    kErrorTitle = 102,
    kWrongFileFormat = 104,
    kSyntaxError = 106,
    kCanceled = 109,
    kContinue = 115,
    kInsufficientDiskSpace = 116,
    kReadErrorAtEnd = 123,
    kFileNameTooLong = 139,
    kFileNameLength = 140,
    kLockTitle = 143,
    kLockFile = 144,
    kLockInUseBy = 145,
    kLockOpenedOn = 146,
    kLockHoursAgo = 147,
    kLockReadOnly = 148,
    kFileSizeZero = 155,
    kDuplicateRadioCode = 162,
    kDuplicateAntennaCode = 163,
    kExistingCode = 164,
    kNewCode = 165,
    kCodeNotAdded = 166,
    kFileExists = 261,
    kReplaceFile = 262,
    kNotAsciiText = 342,
    kFileChanged = 383,
    kUnnamedFileChanged = 384,
    kRtfTemplateIncompatible = 392,
    kColumnsIncomplete = 410,
    kColumnsSameKind = 411,
    kColumnsSameDefinition = 412,
    kWrongDefinitionType = 427,
};

} // namespace jx::catalog
