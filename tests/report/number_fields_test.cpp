// The hexadecimal, decimal and scientific fields of the report lines.
#include "report/number_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace cycalc {
namespace {

std::string sci(double value) {
    char field[32];
    return std::string(field, format_sci(value, field));
}

std::string hex_field(std::uint32_t value) {
    char field[32];
    return std::string(field, format_hex_field(value, field));
}

std::string decimal_field(std::uint32_t value) {
    char field[32];
    return std::string(field, format_decimal_field(value, field));
}

TEST(FormatSci, WorkedValues) {
    const struct {
        double value;
        const char* field;
    } cases[] = {
        {0, "0.00e+00"},
        {1, "1.00e+00"},
        {3, "3.00e+00"},
        {400, "4.00e+02"},
        {1200, "1.20e+03"},
        {1125, "1.12e+03"},
        {1135, "1.14e+03"},
        {28125, "2.81e+04"},
        {998.5, "9.98e+02"},
        {999.5, "1.00e+03"},
        {99950, "1.00e+05"},
        {4000000, "4.00e+06"},
        {11250000, "1.12e+07"},
        {10787500, "1.08e+07"},
        {4315000000, "4.32e+09"},
        {4294967295, "4.29e+09"},
        {1717986918000, "1.72e+12"},
        {1333.3333740234375, "1.33e+03"},
        {2.674999952316284, "2.67e+00"},
        {0.125, "1.25e-01"},
        {2.4000000848900527e-05, "2.40e-05"},
        {4314999808, "4.31e+09"},
        {533333.3125, "5.33e+05"},
        {1e100, "1.00e+100"},
        {5e-324, "4.94e-324"},
    };
    for (const auto& c : cases) EXPECT_EQ(sci(c.value), c.field) << c.value;
}

// The C library's "%.2e" renders the exact binary value with halfway cases to even: on this
// platform it is a trustworthy model to compare against.
std::string model_sci(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2e", value);
    return text;
}

TEST(FormatSci, AgreesWithTheModelOnManyValues) {
    std::mt19937_64 random(20261211);
    for (int i = 0; i < 200000; ++i) {
        // Any finite non-negative double, any float, any detail-line product, and halfway cases.
        std::uint64_t bits = random() >> 1;
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) {
            ASSERT_EQ(sci(any), model_sci(any)) << bits;
        }
        const auto float_bits = static_cast<std::uint32_t>(random() >> 33);
        float f;
        std::memcpy(&f, &float_bits, sizeof f);
        if (std::isfinite(f)) {
            ASSERT_EQ(sci(f), model_sci(f)) << float_bits;
        }
        const double product = static_cast<double>(static_cast<std::uint32_t>(random())) * 400.0;
        ASSERT_EQ(sci(product), model_sci(product));
        const double halfway = static_cast<double>((random() % 100000) * 10 + 5) * std::pow(10.0, random() % 8);
        ASSERT_EQ(sci(halfway), model_sci(halfway));
    }
}

std::string sci_integer(std::uint64_t value) {
    char field[32];
    return std::string(field, format_sci_integer(value, field));
}

TEST(FormatSciInteger, AgreesWithTheGeneralFieldOnEveryShape) {
    // Halfway cases, carries into the next power of ten, and the whole range of detail values.
    for (std::uint64_t v : {0ULL,
                            1ULL,
                            9ULL,
                            10ULL,
                            99ULL,
                            100ULL,
                            999ULL,
                            1000ULL,
                            1125ULL,
                            1135ULL,
                            1005ULL,
                            9995ULL,
                            99950ULL,
                            99949ULL,
                            28125ULL,
                            11250000ULL,
                            4315000000ULL,
                            4294967295ULL,
                            1717986918000ULL,
                            999999999999999999ULL,
                            9999999999999999999ULL}) {
        EXPECT_EQ(sci_integer(v), sci(static_cast<double>(v))) << v;
    }
    std::mt19937_64 random(5);
    for (int i = 0; i < 300000; ++i) {
        const std::uint64_t cycles = static_cast<std::uint32_t>(random() >> (32 + random() % 32));
        ASSERT_EQ(sci_integer(cycles), sci(static_cast<double>(cycles))) << cycles;
        ASSERT_EQ(sci_integer(cycles * 400), sci(static_cast<double>(cycles) * 400.0)) << cycles;
        // Exactly halfway: a digit 5 followed by zeros after the third significant digit.
        const std::uint64_t halfway =
            ((random() % 900 + 100) * 10 + 5) * static_cast<std::uint64_t>(std::pow(10.0, random() % 9));
        ASSERT_EQ(sci_integer(halfway), sci(static_cast<double>(halfway))) << halfway;
    }
}

TEST(IntegerFields, WorkedValues) {
    const struct {
        std::uint32_t value;
        const char* hex;
        const char* decimal;
    } cases[] = {
        {0, "0000", "    0"},
        {26, "001a", "   26"},
        {5713, "1651", " 5713"},
        {65535, "ffff", "65535"},
        {65536, "10000", "65536"},
        {100000, "186a0", "100000"},
        {4294967295, "ffffffff", "4294967295"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(hex_field(c.value), c.hex);
        EXPECT_EQ(decimal_field(c.value), c.decimal);
    }
}

}  // namespace
}  // namespace cycalc
