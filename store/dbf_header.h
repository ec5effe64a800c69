// The header of a dBASE table file.
//
//   offset size  meaning
//   0      1     version: 0x03 dBASE III; 0x83/0x8B/0xF5 with memo; 0x04 dBASE IV;
//                0x30/0x31 Visual FoxPro (263-byte backlink after the fields)
//   1      3     date of last update: year - 1900, month, day
//   4      4     number of records (uint32, little-endian)
//   8      2     header length: offset of the first record
//   10     2     record length, deletion mark included
//   12     20    reserved (kept as read); byte 29 is the code page mark
//   32     32*n  field descriptors:
//                  0  11  name, NUL-padded
//                  11 1   type C N F D L M ...
//                  12 4   reserved (Visual FoxPro: offset in record)
//                  16 1   width (C fields: low byte of the width)
//                  17 1   decimals (C fields: high byte of the width)
//                  18 14  reserved
//   32+32n 1     0x0D, end of the field descriptors
//   header length: records, each a deletion mark (' ' or '*') and the fields
//   after the records: 0x1A end-of-file byte (optional when reading)
//
// We write version 0x03 with the header right after the terminator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/dbf_field.h"
#include "store/file.h"
#include "store/status.h"

namespace kpr {

struct DbfHeader {
  uint8_t version = 0x03;
  int year = 0;  // full year
  int month = 1;
  int day = 1;
  uint32_t record_count = 0;
  uint16_t header_length = 0;
  uint16_t record_length = 0;
  std::vector<DbfField> fields;
  // Bytes 12..31. Byte 29, the code page mark, says Windows-1252 (0x03) in
  // the tables we create, so other readers decode their text unaided.
  std::string reserved = std::string(17, '\0') + '\x03' + std::string(2, '\0');

  // Lays out the fields (offsets), header and record length for writing.
  // InvalidArgument on a bad field list.
  static Status Layout(const std::vector<DbfField>& fields, DbfHeader* header);
};

// Encodes the 32-byte fixed part only (version, date, counts, lengths).
std::string EncodeDbfHeaderPrefix(const DbfHeader& header);
// Encodes the whole header as written by us, terminator included.
std::string EncodeDbfHeader(const DbfHeader& header);
// Reads and checks a header; Corruption names the file and the fault.
Status DecodeDbfHeader(File* file, DbfHeader* header);

}  // namespace kpr
