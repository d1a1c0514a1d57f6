// What fptable prints on a T800: IEEE results, rounded to nearest.
#pragma once

namespace t800test {

inline constexpr const char* kFptableExpected =
    "n sqrt(n)*1e6 (REAL64) 1/n*1e6 (REAL32) n/7*1e4 (REAL64 to REAL32)\n"
    "1 1000000 1000000 1429\n"
    "2 1414214 500000 2857\n"
    "3 1732051 333333 4286\n"
    "4 2000000 250000 5714\n"
    "5 2236068 200000 7143\n"
    "6 2449490 166667 8571\n"
    "7 2645751 142857 10000\n"
    "8 2828427 125000 11429\n"
    "9 3000000 111111 12857\n"
    "10 3162278 100000 14286\n"
    "11 3316625 90909 15714\n"
    "12 3464102 83333 17143\n"
    "no FP error\n";

}  // namespace t800test
