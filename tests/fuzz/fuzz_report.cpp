// libFuzzer target: arbitrary bytes read the way the program reads a report and the plain way, which must
// agree on every block, every cell of every row and every result; a difference traps.
// - The program's way: the decoder and ReportBlockReader fed in chunks of sizes taken from the input,
//   each chunk in a buffer of its own that is freed after it is fed (a block kept past its chunk is a
//   use after free), with the processor's 32-byte scans or its 16-byte ones as the input says;
//   ParseReadBlock on each block, keeping each run's details, which must belong to one of its rows and
//   read back alike by number and in order.
// - The plain way (tests/reference): the whole text decoded at once, cut line by line, each SQLIO run
//   read by ScalarParseTest and each DiskSpd run by the DiskSpd reader, a run the bounds cut short as
//   ParseReadBlock takes it.
// Both get the same bounds on lines and blocks, taken from the input too: the program's own, or small.
// A SQLIO run cut at its tail that keeps its row must keep the row of the whole run.
// A third of the mutations are libFuzzer's own, the others work on whole lines (blank a value, move it
// to a line of its own, indent a line, add an empty line, drop or repeat one, change its line end): the
// rules turn on white space and line ends, and a byte-level mutation rarely makes a line of blanks.
#include "platform/WideVectors.h"
#include "report/ReportBlocks.h"
#include "report/ReportText.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "report/RunParser.h"
#include "tests/fuzz/FuzzChecks.h"
#include "tests/reference/ReferenceReading.h"
#include "tests/reference/ScalarSqlioParser.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(std::uint8_t* data, size_t size, size_t maxSize);

namespace {

struct Reading {
    std::vector<TestBlock> blocks;
    std::vector<bool> results;
    CListBase table;
    RunDetailsStore runDetails;
};

struct Settings {
    size_t maxLine = 16u << 20;
    size_t maxBlock = 16u << 20;
    size_t chunkSizes[3] = {};
};

// Single bytes and short pieces, whole read buffers, or everything at once.
size_t ChunkSize(std::uint8_t choice) {
    if (choice < 160)
        return 1 + choice % 80;
    if (choice < 250)
        return 64u * (choice - 159u);
    return static_cast<size_t>(-1);
}

void ReadInChunks(const std::string& bytes, const Settings& settings, Reading& reading) {
    AddResultColumns(reading.table);
    ReportBlockReader reader(
        [&](std::string_view block, RunCut cut) {
            reading.blocks.push_back({std::string(block), cut});
            reading.results.push_back(ParseReadBlock(block, cut, reading.table, {}, &reading.runDetails));
        },
        settings.maxLine, settings.maxBlock);
    ReportTextDecoder decoder;
    std::string scratch;
    for (size_t at = 0, chunk = 0; at < bytes.size(); ++chunk) {
        const size_t size = std::min(settings.chunkSizes[chunk % 3], bytes.size() - at);
        const std::unique_ptr<char[]> buffer(new char[size]);
        bytes.copy(buffer.get(), size, at);
        reader.Feed(decoder.Decode(std::string_view(buffer.get(), size), scratch));
        at += size;
    }
    scratch.clear();
    decoder.Finish(scratch);
    reader.Feed(scratch);
    reader.Finish();
}

// Returns the decoded text.
std::string ReadPlainly(const std::string& bytes, const Settings& settings, Reading& reading) {
    AddResultColumns(reading.table);
    ReportTextDecoder decoder;
    std::string text;
    decoder.Feed(bytes, text);
    decoder.Finish(text);
    reading.blocks = CutLineByLine(text, settings.maxLine, settings.maxBlock);
    for (const TestBlock& block : reading.blocks)
        reading.results.push_back(ReferenceParseBlock(block, reading.table));
    return text;
}

void RequireSame(const Reading& fast, const Reading& plain) {
    if (fast.blocks != plain.blocks || fast.results != plain.results ||
        fast.table.GetItemCount() != plain.table.GetItemCount())
        __builtin_trap();
    for (int row = 0; row < fast.table.GetItemCount(); ++row) {
        if (static_cast<ListRow>(fast.table.Row(row)) != static_cast<ListRow>(plain.table.Row(row)))
            __builtin_trap();
        if (fast.table.CellRef(row, kColNumber) != std::to_string(row))
            __builtin_trap();
    }
    RequireDetailsOfRows(fast.runDetails, fast.table);
}

// A SQLIO run cut at its tail keeps a row only where it is the whole run's row. Without the bound on
// blocks (and with no line shortened) the text cuts into the same runs, each whole: every row kept from
// a tail must be the row of its whole run.
void RequireTailRowsOfWholeRuns(const std::string& text, const Settings& settings, const Reading& plain) {
    if (settings.maxLine < ReportBlockReader::kBound)
        return;
    const std::vector<TestBlock> whole = CutLineByLine(text, settings.maxLine, static_cast<size_t>(-1));
    if (whole.size() != plain.blocks.size())
        __builtin_trap();
    for (size_t i = 0; i < whole.size(); ++i) {
        const TestBlock& cut = plain.blocks[i];
        if (whole[i].text.rfind(cut.text, 0) != 0)
            __builtin_trap();
        CListBase fromCut, fromWhole;
        AddResultColumns(fromCut);
        AddResultColumns(fromWhole);
        if (cut.cut != RunCut::Tail || !ReferenceParseBlock(cut, fromCut))
            continue;
        if (!ScalarParseTest(whole[i].text, fromWhole) ||
            static_cast<ListRow>(fromCut.Row(0)) != static_cast<ListRow>(fromWhole.Row(0)))
            __builtin_trap();
    }
}

// Where each line of text starts; the last entry is the text's end.
std::vector<size_t> LineStarts(const std::string& text) {
    std::vector<size_t> starts{0};
    for (size_t at = 0; at < text.size(); ++at)
        if (text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')))
            starts.push_back(at + 1);
    if (starts.back() != text.size())
        starts.push_back(text.size());
    return starts;
}

// A run of white space: short, or of a length near a multiple of the scans' sixteen-byte step, where
// a vector scan turns into the next step or into its byte-by-byte tail.
std::string Blanks(std::minstd_rand& random) {
    const size_t length = random() % 2 == 0 ? random() % 8 : 16 * (1 + random() % 4) - 3 + random() % 6;
    static const char kWhite[] = {' ', ' ', ' ', '\t', '\t', '\v', '\f'};
    return std::string(length, kWhite[random() % std::size(kWhite)]);
}

// One change to one whole line of text.
void MutateLine(std::string& text, std::minstd_rand& random) {
    const std::vector<size_t> starts = LineStarts(text);
    if (starts.size() < 2)
        return;
    const size_t line = random() % (starts.size() - 1);
    const size_t begin = starts[line];
    const size_t next = starts[line + 1];
    size_t end = next; // where the line's terminator starts
    while (end > begin && (text[end - 1] == '\n' || text[end - 1] == '\r'))
        --end;
    const std::string terminator = text.substr(end, next - end);
    static const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
    switch (random() % 7) {
    case 0: { // a value of blanks: everything after the line's first colon
        const size_t colon = text.find(':', begin);
        const size_t from = colon < end ? colon + 1 : begin;
        text.replace(from, end - from, Blanks(random));
        break;
    }
    case 1:
        text.insert(begin, Blanks(random));
        break;
    case 2:
        text.insert(begin, Blanks(random) + (terminator.empty() ? "\r\n" : terminator));
        break;
    case 3:
        text.erase(begin, next - begin);
        break;
    case 4:
        text.insert(begin, text.substr(begin, next - begin));
        break;
    case 5: { // the value on a line of its own after its token
        const size_t colon = text.find(':', begin);
        if (colon < end)
            text.insert(colon + 1, terminator.empty() ? "\r\n" : terminator);
        break;
    }
    default:
        text.replace(end, next - end, kLineEnds[random() % 3]);
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(std::uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
    std::minstd_rand random(seed);
    if (random() % 3 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::string text(reinterpret_cast<const char*>(data), size);
    MutateLine(text, random);
    if (text.size() > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, text.data(), text.size());
    return text.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // The settings are taken from the input's end, so the report text at its start reads as the seeds
    // wrote it.
    FuzzedDataProvider input(data, size);
    Settings settings;
    if (input.ConsumeBool())
        settings.maxLine = input.ConsumeIntegralInRange<size_t>(1, 300);
    if (input.ConsumeBool())
        settings.maxBlock = input.ConsumeIntegralInRange<size_t>(0, 3000);
    for (size_t& chunkSize : settings.chunkSizes)
        chunkSize = ChunkSize(input.ConsumeIntegral<std::uint8_t>());
    const bool wide = input.ConsumeBool();
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    Reading plain;
    const std::string text = ReadPlainly(bytes, settings, plain);
    RequireTailRowsOfWholeRuns(text, settings, plain);
    AllowWideVectors(wide);
    Reading fast;
    ReadInChunks(bytes, settings, fast);
    RequireSame(fast, plain);
    return 0;
}
