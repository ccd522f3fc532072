// The usage text, printed when no argument is given.
#pragma once

namespace cycalc {

inline constexpr const char* USAGE_TEXTS[] = {
    "cycalc.exe: MIPs calculation utility. It operates on a log file\n",
    "containing state and cycle measurement values logged for each call\n",
    "to the function under test. The default frame size (number of samples\n",
    "per call) is 20, and the sample rate is 8000 Hz.\n\n",
    "\nUsage : cycalc infile[,d][,l] [outfile]\n",
    "where:\n",
    "  ,d option specifies data in 'infile' to be in ascii decimal format\n",
    "  ,l option specifies data in 'infile' to be 32-bit long\n",
    "\n",
    "\n",
};

}  // namespace cycalc
