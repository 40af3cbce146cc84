// Host-side build step that turns libunac's accent tables into C++ sources for the plugin and
// a reference of libunac's own output for every UTF-16 code unit, so nothing of libunac is kept
// in the repository and the Windows build needs no libunac of its own.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unac.h>

namespace {

using Units = std::vector<uint16_t>;

constexpr unsigned kUnitCount = 0x10000;
constexpr unsigned kBlockSize = 32;
constexpr unsigned kBlockCount = kUnitCount / kBlockSize;
constexpr uint16_t kNoReplacement = 0xFFFF;

// How many code points map to a replacement of each length; the folding the database
// exposes is defined by these figures, so a different libunac must stop the build rather
// than silently change search results.
const std::map<size_t, unsigned> kExpectedLengths = {
    {1, 2976}, {2, 586}, {3, 362}, {4, 66}, {5, 16}, {6, 3}, {7, 1}, {8, 1}, {18, 1}};
constexpr unsigned kExpectedReplaced = 4012;

bool failed = false;

void Fail(const char* what, unsigned unit) {
    std::fprintf(stderr, "UnacTableGenerator: %s (U+%04X)\n", what, unit);
    failed = true;
}

// The replacement libunac's tables hold for one unit, empty when the unit stays as it is.
Units TableReplacement(unsigned unit) {
    const unsigned index = unac_indexes[unit / kBlockSize];
    const unsigned position = unit % kBlockSize;
    const unsigned start = unac_positions[index][position];
    const unsigned end = unac_positions[index][position + 1];
    const unsigned short* data = unac_data_table[index];
    if (end == start || (end - start == 1 && data[start] == kNoReplacement))
        return {};
    return Units(data + start, data + end);
}

// What libunac's public entry point makes of the unit, through its big-endian interface.
Units LibraryOutput(unsigned unit) {
    const char in[2] = {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    char* out = nullptr;
    size_t outLength = 0;
    if (unac_string_utf16(in, sizeof in, &out, &outLength) != 0) {
        Fail("unac_string_utf16 failed", unit);
        return {};
    }
    Units units;
    for (size_t i = 0; i + 1 < outLength; i += 2)
        units.push_back(static_cast<uint16_t>((static_cast<unsigned char>(out[i]) << 8) |
                                              static_cast<unsigned char>(out[i + 1])));
    std::free(out);
    return units;
}

void CheckReplacements(const std::vector<Units>& replacements, const std::vector<Units>& outputs) {
    std::map<size_t, unsigned> lengths;
    unsigned replaced = 0;
    for (unsigned unit = 0; unit < kUnitCount; ++unit) {
        const Units& r = replacements[unit];
        const Units expected = r.empty() ? Units{static_cast<uint16_t>(unit)} : r;
        if (outputs[unit] != expected)
            Fail("the tables disagree with unac_string_utf16", unit);
        if (r.empty())
            continue;
        ++replaced;
        ++lengths[r.size()];
        // StripAccentInto reports "changed" on any replacement and skips ASCII outright;
        // both shortcuts are only sound while these hold.
        if (r.size() == 1 && r[0] == unit)
            Fail("a unit is replaced by itself", unit);
        if (unit < 0x80)
            Fail("an ASCII unit has a replacement", unit);
    }
    std::printf("UnacTableGenerator: %u code units replaced;", replaced);
    for (const auto& [length, count] : lengths)
        std::printf(" %u to %zu", count, length);
    std::printf("\n");
    if (replaced != kExpectedReplaced || lengths != kExpectedLengths)
        Fail("the replacement counts differ from the expected distribution", 0);
}

// Writes a brace-enclosed list of numbers, sixteen to a line.
template <class T> void WriteList(FILE* file, const std::vector<T>& values) {
    std::fprintf(file, "{");
    for (size_t i = 0; i < values.size(); ++i)
        std::fprintf(file, "%s0x%X,", i % 16 == 0 ? "\n    " : " ", static_cast<unsigned>(values[i]));
    std::fprintf(file, "\n}");
}

struct FoldingTables {
    std::vector<uint8_t> blockIndex;   // kBlockCount entries
    std::vector<uint16_t> positions;   // 33 offsets into data per distinct block
    std::vector<uint16_t> data;
};

// Rebuilds the tables without libunac's 0xFFFF "no replacement" entries, which leaves every
// block without replacements identical; they share table 0, so the lookup can skip most of
// the plane after a single read.
FoldingTables BuildTables(const std::vector<Units>& replacements) {
    FoldingTables t;
    t.positions.assign(kBlockSize + 1, 0);
    std::map<std::vector<Units>, uint8_t> known{{std::vector<Units>(kBlockSize), 0}};
    for (unsigned block = 0; block < kBlockCount; ++block) {
        std::vector<Units> content(replacements.begin() + block * kBlockSize,
                                   replacements.begin() + (block + 1) * kBlockSize);
        auto found = known.find(content);
        if (found == known.end()) {
            const size_t table = known.size();
            if (table > 0xFF) {
                Fail("more distinct blocks than an 8-bit index holds", block * kBlockSize);
                return t;
            }
            found = known.emplace(std::move(content), static_cast<uint8_t>(table)).first;
            for (const Units& r : found->first) {
                t.positions.push_back(static_cast<uint16_t>(t.data.size()));
                t.data.insert(t.data.end(), r.begin(), r.end());
            }
            t.positions.push_back(static_cast<uint16_t>(t.data.size()));
        }
        t.blockIndex.push_back(found->second);
    }
    if (t.data.size() > 0xFFFF)
        Fail("the replacement data outgrows 16-bit offsets", 0);
    return t;
}

void WriteTables(FILE* file, const FoldingTables& t) {
    const size_t tableCount = t.positions.size() / (kBlockSize + 1);
    std::fprintf(file,
                 "// Accent-folding tables generated from libunac by UnacTableGenerator; do not edit.\n"
                 "namespace unac_tables {\n"
                 "extern const unsigned char kBlockIndex[%u];\n"
                 "extern const unsigned short kPositions[][%u];\n"
                 "extern const wchar_t kData[];\n\n",
                 kBlockCount, kBlockSize + 1);
    std::fprintf(file, "const unsigned char kBlockIndex[%u] = ", kBlockCount);
    WriteList(file, t.blockIndex);
    std::fprintf(file, ";\n\nconst unsigned short kPositions[%zu][%u] = ", tableCount, kBlockSize + 1);
    WriteList(file, t.positions);
    std::fprintf(file, ";\n\nconst wchar_t kData[%zu] = ", t.data.size());
    WriteList(file, t.data);
    std::fprintf(file, ";\n\n}  // namespace unac_tables\n");
}

void WriteReference(FILE* file, const std::vector<Units>& outputs) {
    std::vector<uint32_t> offsets{0};
    std::vector<uint16_t> units;
    for (const Units& out : outputs) {
        units.insert(units.end(), out.begin(), out.end());
        offsets.push_back(static_cast<uint32_t>(units.size()));
    }
    std::fprintf(file,
                 "// What libunac's unac_string_utf16 returns for each UTF-16 code unit alone, generated\n"
                 "// by UnacTableGenerator; do not edit. Unit u became kUnits[kOffsets[u] .. kOffsets[u + 1]).\n"
                 "namespace unac_reference {\n"
                 "extern const unsigned kOffsets[%u];\n"
                 "extern const wchar_t kUnits[%zu];\n\n",
                 kUnitCount + 1, units.size());
    std::fprintf(file, "const unsigned kOffsets[%u] = ", kUnitCount + 1);
    WriteList(file, offsets);
    std::fprintf(file, ";\n\nconst wchar_t kUnits[%zu] = ", units.size());
    WriteList(file, units);
    std::fprintf(file, ";\n\n}  // namespace unac_reference\n");
}

// Writes beside the target and renames, so an interrupted build never leaves a truncated
// source that make would then take as up to date.
template <class Write> bool WriteFile(const std::string& path, Write write) {
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file)
        return false;
    write(file);
    const bool written = !std::ferror(file);
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: UnacTableGenerator TABLES.cpp REFERENCE.cpp\n");
        return 2;
    }
    std::vector<Units> replacements, outputs;
    for (unsigned unit = 0; unit < kUnitCount; ++unit) {
        replacements.push_back(TableReplacement(unit));
        outputs.push_back(LibraryOutput(unit));
    }
    CheckReplacements(replacements, outputs);
    const FoldingTables tables = BuildTables(replacements);
    if (failed)
        return 1;
    std::printf("UnacTableGenerator: %zu block tables, %zu data units\n",
                tables.positions.size() / (kBlockSize + 1), tables.data.size());
    if (!WriteFile(argv[1], [&](FILE* f) { WriteTables(f, tables); }) ||
        !WriteFile(argv[2], [&](FILE* f) { WriteReference(f, outputs); })) {
        std::fprintf(stderr, "UnacTableGenerator: cannot write the output files\n");
        return 1;
    }
    return 0;
}
