// The text of one point's log record: S, D, U and V in four lines.
#pragma once

#include <cstddef>
#include <string_view>

#include "geodesy/records.h"
#include "text/quantities.h"

namespace geochain {

// The record's fixed text: before S, D, U and V, and its last line end.
// The headings, "souradncie" and the order S before D are what stored logs
// already hold; they differ from the console on purpose.
inline constexpr std::string_view RECORD_TEXT[] = {
    "Kartograficke souradnice S, D : \r\nS = ", "   D = ",
    "\r\nSfericke souradncie U, V : \r\nU = ", "   V = ", "\r\n"};
inline constexpr Quantity RECORD_QUANTITIES[] = {Quantity::S, Quantity::D, Quantity::U,
                                                 Quantity::V};

constexpr std::size_t record_room() {
    std::size_t room = 0;
    for (const std::string_view text : RECORD_TEXT) {
        room += text.size();
    }
    for (const Quantity q : RECORD_QUANTITIES) {
        room += fixed_room(rule(q).decimals);
    }
    return room;
}

// Room for a record: its fixed text and its values at their longest.
inline constexpr std::size_t RECORD_ROOM = record_room();

// Writes the four lines of one point's record, each ended by CR LF, at
// `at`, which has RECORD_ROOM bytes; returns the end. Each value is copied
// as a report or a row has written it (with a decimal point where a row
// wrote a comma), or formatted where none has.
char* write_record(char* at, const PointResult& r, const WrittenValues& values);

}  // namespace geochain
