// The hexadecimal and decimal value conversions.
#include "log/conversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace cycalc {
namespace {

struct ConversionCase {
    const char* text;
    std::uint32_t value;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class HexadecimalConversion : public ::testing::TestWithParam<ConversionCase> {};
class DecimalConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(HexadecimalConversion, GivesTheLow32Bits) {
    EXPECT_EQ(convert_hexadecimal(GetParam().text, std::strlen(GetParam().text)), GetParam().value)
        << '"' << GetParam().text << '"';
}

TEST_P(DecimalConversion, GivesTheLow32Bits) {
    EXPECT_EQ(convert_decimal(GetParam().text, std::strlen(GetParam().text)), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, HexadecimalConversion,
                         ::testing::Values(ConversionCase{"1A2B\n", 0x1a2b}, ConversionCase{"1a2b", 0x1a2b},
                                           ConversionCase{"-0x10\n", 0xfffffff0},
                                           ConversionCase{"0123456789ABCDEF\n", 0x89abcdef},
                                           ConversionCase{"123456789ABCDEF01\n", 0xffffffff},  // 17 significant digits
                                           ConversionCase{"-123456789ABCDEF01\n", 0},          // saturates; no sign applied
                                           ConversionCase{"0000000000000000000000FFFFFFFFFFFFFFFF", 0xffffffff},
                                           ConversionCase{"-FFFFFFFFFFFFFFFF", 1}, ConversionCase{"-1", 0xffffffff},
                                           ConversionCase{"+5", 5}, ConversionCase{"0\n", 0}, ConversionCase{"0x\n", 0},
                                           ConversionCase{" 0x\n", 0}, ConversionCase{"0xg", 0}, ConversionCase{"0X0x5", 0},
                                           ConversionCase{"\t\v\f\r 7f\n", 0x7f},
                                           ConversionCase{"\xa0"
                                                          "7",
                                                          0},
                                           ConversionCase{"- 5", 0}, ConversionCase{"-", 0}, ConversionCase{"", 0},
                                           ConversionCase{"\n", 0}, ConversionCase{"g1", 0}, ConversionCase{"12 34", 0x12},
                                           ConversionCase{"12g", 0x12}, ConversionCase{"ffffffff", 0xffffffff},
                                           ConversionCase{"100000000", 0}, ConversionCase{"123456789", 0x23456789}));

INSTANTIATE_TEST_SUITE_P(Cases, DecimalConversion,
                         ::testing::Values(ConversionCase{"1234.56\n", 1234}, ConversionCase{"-5\n", 4294967291u},
                                           ConversionCase{"4294967296\n", 0}, ConversionCase{"4294967295", 4294967295u},
                                           ConversionCase{"-12.9", 0xfffffff4}, ConversionCase{"1e5", 1}, ConversionCase{".5", 0},
                                           ConversionCase{"+5", 5}, ConversionCase{"- 5", 0}, ConversionCase{"0x10", 0},
                                           ConversionCase{"  \t42\n", 42}, ConversionCase{"00000000000000000000000007", 7},
                                           ConversionCase{"999999999999999999", 0xa763ffff},
                                           ConversionCase{"18446744073709551615", 0xffffffff},
                                           ConversionCase{"18446744073709551616", 0xffffffff},  // past 64 bits: saturates
                                           ConversionCase{"-18446744073709551616", 0}, ConversionCase{"a1", 0}));

TEST(ConversionCase, LengthEndsTheText) {
    EXPECT_EQ(convert_hexadecimal("12345", 3), 0x123u);
    EXPECT_EQ(convert_decimal("12345", 2), 12u);
    EXPECT_EQ(convert_hexadecimal("0x5", 1), 0u);
    EXPECT_EQ(convert_hexadecimal("  ", 0), 0u);
}

// The fast conversions of plain digit texts must agree with the general ones wherever they answer,
// and answer for every text of plain digits.
TEST(PlainConversions, AgreeWithTheGeneralOnes) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789abcdefABCDEFgxX+- \n.\x80\xff/:@G`";
    for (int i = 0; i < 300000; ++i) {
        char text[16] = {};
        const std::size_t length = random() % 11;
        const bool digits_only = random() % 2 == 0;
        for (std::size_t k = 0; k < length; ++k) {
            text[k] = digits_only ? "0123456789abcdefABCDEF"[random() % 22] : alphabet[random() % alphabet.size()];
        }
        for (std::size_t k = length; k < sizeof text; ++k) text[k] = alphabet[random() % alphabet.size()];
        std::uint32_t value = 0;
        const bool hex_plain = convert_plain_hexadecimal(text, length, value);
        if (hex_plain) {
            ASSERT_EQ(value, convert_hexadecimal(text, length)) << std::string(text, length);
        }
        const bool all_hex = length >= 1 && length <= 8 &&
                             std::string(text, length).find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        ASSERT_EQ(hex_plain, all_hex) << std::string(text, length);
        const bool decimal_plain = convert_plain_decimal(text, length, value);
        if (decimal_plain) {
            ASSERT_EQ(value, convert_decimal(text, length)) << std::string(text, length);
        }
        const bool all_decimal =
            length >= 1 && length <= 9 && std::string(text, length).find_first_not_of("0123456789") == std::string::npos;
        ASSERT_EQ(decimal_plain, all_decimal) << std::string(text, length);
        std::uint32_t four = 0;
        const bool four_plain = convert_four_hex_digits(text, four);
        ASSERT_EQ(four_plain, convert_plain_hexadecimal(text, 4, value)) << std::string(text, 4);
        if (four_plain) ASSERT_EQ(four, value) << std::string(text, 4);
    }
}

}  // namespace
}  // namespace cycalc
