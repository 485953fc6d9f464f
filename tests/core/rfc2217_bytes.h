#pragma once

#include <string>

// What the client says first, what it asks of the line once the server agrees to the COM
// port option, and a server's confirmation of all of it, in hex.
inline const std::string GREETING = "FFFB2CFFFB00FFFD00FFFB03FFFD03";
inline const std::string LINE_REQUEST =
    "FFFA2C0100002580FFF0 FFFA2C0208FFF0 FFFA2C0301FFF0 FFFA2C0401FFF0 FFFA2C0501FFF0";
inline const std::string PURGE = "FFFA2C0C01FFF0";
inline const std::string CONFIRMED =
    "FFFA2C6500002580FFF0 FFFA2C6608FFF0 FFFA2C6701FFF0 FFFA2C6801FFF0";
