// Every TCR file of the corpus decodes through the engine to the bytes that an independent
// decoder (tests/tools/tcr_decode.py) gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsTCRStream.h"
#include "tests/support/TestSupport.h"

namespace {

std::string ReadThrough(KsStream& stream) {
    std::string out;
    char block[1237];  // an odd size, so that reads straddle the decoded blocks
    for (;;) {
        ks_pos_t got = 0;
        KsStatus status = stream.Read(block, sizeof(block), &got);
        out.append(block, got);
        if (status != KS_OK || got == 0) break;
    }
    return out;
}

TEST(TcrCorpus, EngineAgreesWithAnIndependentDecoder) {
    QUILLET_REQUIRE_CORPUS();
    const std::string folder = CorpusDir() + "/tcr";
    const std::string decoder = SourceDir() + "/tests/tools/tcr_decode.py";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".tcr") files.push_back(entry.path());
    ASSERT_FALSE(files.empty());
    TempDir out;
    std::string command = "python3 " + ShellQuote(decoder) + " --out " + ShellQuote(out.path());
    for (const auto& file : files)
        command += " " + ShellQuote(file.string());
    ASSERT_EQ(RunCommand(command), 0);

    for (const auto& file : files) {
        const std::string path = file.string();
        SCOPED_TRACE(path);
        const std::string expected = ReadFileBytes(out.file(file.filename().string() + ".txt"));
        KsRef<KsStream> tcr = OpenTcrStream(OpenFileStream(U16(path.c_str()), KS_MODE_READ));
        ASSERT_TRUE(tcr);
        EXPECT_EQ(tcr->GetSize(), expected.size());
        EXPECT_EQ(ReadThrough(*tcr), expected);
        // And again from the middle, after the stream has moved on to later blocks.
        const ks_pos_t middle = static_cast<ks_pos_t>(expected.size() / 2);
        ASSERT_EQ(tcr->SetPos(middle), middle);
        EXPECT_EQ(ReadThrough(*tcr), expected.substr(middle));
    }
}

}  // namespace
