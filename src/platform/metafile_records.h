// The record numbers of the two metafile formats, named once for the one
// writer of each (emf_records.h, wmf_records.h) and the records built on
// them: WMF record functions, [MS-WMF] 2.1.1.1 RecordType, with the
// METAHEADER's fixed values (2.3.2.2); EMF record types, [MS-EMF] 2.1.1.
#pragma once

#include <cstdint>

namespace ecc200::platform::metafile {

constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSetMapMode = 0x0103;
constexpr std::uint16_t kMetaSelectObject = 0x012D;
constexpr std::uint16_t kMetaDeleteObject = 0x01F0;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaLineTo = 0x0213;
constexpr std::uint16_t kMetaMoveTo = 0x0214;
constexpr std::uint16_t kMetaCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kMetaCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t kMetaPolygon = 0x0324;
constexpr std::uint16_t kMetaPolyPolygon = 0x0538;
constexpr std::uint16_t kMetaPatBlt = 0x061D;

constexpr std::uint16_t kMemoryMetafile = 1;        // mtType
constexpr std::uint16_t kHeaderWords = 9;           // mtHeaderSize: the 18-byte METAHEADER
constexpr std::uint16_t kMetafileVersion = 0x0300;  // mtVersion

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrPolygon = 3;
constexpr std::uint32_t kEmrPolyPolygon = 8;
constexpr std::uint32_t kEmrSetWindowExtEx = 9;
constexpr std::uint32_t kEmrSetWindowOrgEx = 10;
constexpr std::uint32_t kEmrSetViewportExtEx = 11;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrSetMapMode = 17;
constexpr std::uint32_t kEmrMoveToEx = 27;
constexpr std::uint32_t kEmrSelectObject = 37;
constexpr std::uint32_t kEmrCreatePen = 38;
constexpr std::uint32_t kEmrCreateBrushIndirect = 39;
constexpr std::uint32_t kEmrDeleteObject = 40;
constexpr std::uint32_t kEmrLineTo = 54;
constexpr std::uint32_t kEmrBitBlt = 76;
constexpr std::uint32_t kEmrPolygon16 = 86;
constexpr std::uint32_t kEmrPolyPolygon16 = 91;

}  // namespace ecc200::platform::metafile
