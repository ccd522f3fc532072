// Compiled by a test with x87 arithmetic (-mfpmath=387): the build must stop with our message.
#include "platform/portable.h"

int main() { return 0; }
