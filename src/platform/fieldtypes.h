#pragma once
// The field type numbers of the whole program (the numbering of ADO): what a
// back-end reports for a column (ColumnInfo::type, Field::type()), what a
// mirror stores beside each copied column, and what the table code tests.
// Include this header; never write the numbers again.

namespace supplink::adType {

constexpr int Empty = 0;
constexpr int SmallInt = 2;
constexpr int Integer = 3;
constexpr int Single = 4;
constexpr int Double = 5;
constexpr int Currency = 6;
constexpr int Date = 7;
constexpr int Boolean = 11;
constexpr int UnsignedTinyInt = 17;
constexpr int BigInt = 20;
constexpr int GUID = 72;
constexpr int Numeric = 131;
constexpr int VarWChar = 202;
constexpr int LongVarWChar = 203;
constexpr int VarBinary = 204;
constexpr int LongVarBinary = 205;

} // namespace supplink::adType
