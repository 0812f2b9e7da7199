#pragma once

#include <string>
#include <string_view>

// What makes two runs the same test: their Direction, Type, Size and Outstanding IOs cells, compared as
// the cells hold them, byte for byte ("8KB" and "8192B" are two tests, as "Read" and "read" are).
struct TestKey {
    std::string direction;
    std::string type;
    std::string size;
    std::string outstanding;

    friend bool operator==(const TestKey&, const TestKey&) = default;
};

// The parts of a key, for filters and lists of values.
enum class TestKeyPart { Direction, Type, Size, Outstanding };
inline constexpr int kTestKeyPartCount = 4;
const std::string& KeyPart(const TestKey& key, TestKeyPart part);

// A block size in bytes: the leading number times its unit, B, K, KB or KiB, M, MB or MiB, G, GB or GiB
// (any case; a kilobyte is 1024 bytes, as SQLIO and DiskSpd count it), no unit meaning bytes. False for
// a cell that starts with no number or ends in another unit.
bool SizeInBytes(std::string_view size, double& bytes);

// The order of tests: Direction, then Type, as text (ignoring ASCII case, as the result table sorts
// text); then Size in bytes (sizes that are no size after those that are) and Outstanding IOs as a
// number. Texts that tie are then ordered byte by byte, the Size before the Outstanding IOs, so the tests
// of one Direction, Type and Size cell stay together and every order is total.
class TestOrder {
public:
    // The numbers of a key, read once: a sort compares each key many times.
    struct Numbers {
        bool sizeKnown = false;
        double sizeBytes = 0.0;
        double outstanding = 0.0;
    };
    static Numbers NumbersOf(const TestKey& key);
    static bool Less(const TestKey& a, const Numbers& aNumbers, const TestKey& b, const Numbers& bNumbers);
};

// The test as a short line of text: "Read random 8KB, 4 outstanding".
std::string TestCaption(const TestKey& key);
// The Direction, Type and Size of a test, the title of its curves: "Read random 8KB".
std::string SeriesCaption(const TestKey& key);
