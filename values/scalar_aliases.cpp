#include "values/scalar_aliases.h"

const ScalarAliasRow kScalarAliases[kScalarAliasCount] = {
    {"BOOL", "int", nullptr},
    {"BYTE", "unsigned char", "0x%02X"},
    {"COLORREF", "unsigned int", "0x%08X"},
    {"DOUBLE", "double", nullptr},
    {"DWORD", "unsigned int", "0x%08X"},
    {"FLOAT", "float", nullptr},
    {"INT", "int", nullptr},
    {"INT64", "__int64", nullptr},
    {"LONG", "long", nullptr},
    {"TCHAR", "char", "0x%02X"},
    {"UINT", "unsigned int", nullptr},
    {"UINT64", "unsigned __int64", nullptr},
    {"ULONG", "unsigned long", nullptr},
    {"WORD", "unsigned short", "0x%04X"},
    {"guard_t", "unsigned __int64", "0x%016I64X"},
    {"time_t", "long", nullptr},
};
