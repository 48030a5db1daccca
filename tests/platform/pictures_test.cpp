// The program's own pictures: every picture the windows ask for by number or
// name is listed in the resource file, exists, is a PNG of the size its
// control expects, and the help page ships beside them.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace tarvolin {
namespace {

std::string resourcesFolder() {
    const char* source = std::getenv("TARVOLIN_SOURCE_DIR");
    if (source && *source) return std::string(source) + "/resources/";
    std::string here = __FILE__;  // <source>/tests/platform/pictures_test.cpp
    return here.substr(0, here.rfind("/tests/")) + "/resources/";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The files named in the resource file.
std::set<std::string> listedFiles() {
    const std::string qrc = readFile(resourcesFolder() + "tarvolin.qrc");
    std::set<std::string> files;
    size_t pos = 0;
    while ((pos = qrc.find("<file>", pos)) != std::string::npos) {
        pos += 6;
        size_t end = qrc.find("</file>", pos);
        if (end == std::string::npos) break;
        files.insert(qrc.substr(pos, end - pos));
        pos = end;
    }
    return files;
}

struct PngSize {
    bool valid = false;
    uint32_t width = 0, height = 0;
};

PngSize pngSize(const std::string& path) {
    const std::string bytes = readFile(path);
    PngSize size;
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
        return size;
    }
    auto be32 = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    size.valid = true;
    size.width = be32(16);
    size.height = be32(20);
    return size;
}

void expectPicture(const std::set<std::string>& listed, const std::string& rel, uint32_t w = 0, uint32_t h = 0) {
    SCOPED_TRACE(rel);
    EXPECT_TRUE(listed.count(rel)) << "not in tarvolin.qrc";
    PngSize size = pngSize(resourcesFolder() + rel);
    ASSERT_TRUE(size.valid) << "missing or not a PNG";
    if (w) {
        EXPECT_EQ(size.width, w);
        EXPECT_EQ(size.height, h);
    }
}

TEST(Pictures, EveryPictureTheWindowsAskForIsThere) {
    const std::set<std::string> listed = listedFiles();
    ASSERT_FALSE(listed.empty());
    for (int icon : {100, 101, 102}) expectPicture(listed, "icon/" + std::to_string(icon) + ".png");
    for (const char* name : {"play", "pause", "stop", "splash"}) expectPicture(listed, std::string("bitmap/") + name + ".png");
    for (int n = 101; n <= 120; ++n) expectPicture(listed, "bitmap/" + std::to_string(n) + ".png", 28, 136);
    for (int n = 600; n <= 619; ++n) expectPicture(listed, "bitmap/" + std::to_string(n) + ".png", 94, 18);
    for (int n = 121; n <= 187; ++n) expectPicture(listed, "bitmap/" + std::to_string(n) + ".png", 116, 96);
    for (int n = 85; n <= 123; ++n) expectPicture(listed, "custom/" + std::to_string(n) + ".png");
    expectPicture(listed, "custom/125.png");
    expectPicture(listed, "custom/126.png");

    // Every listed file exists (a stale entry would break the resource build)
    // and every name is lower-case, as the look-up expects; each picture has
    // its drawing at twice the size beside it, for screens of two device
    // pixels a point.
    for (const std::string& rel : listed) {
        const PngSize size = pngSize(resourcesFolder() + rel);
        EXPECT_TRUE(size.valid) << rel;
        for (char c : rel) EXPECT_FALSE(c >= 'A' && c <= 'Z') << rel;
        if (rel.find("@2x") != std::string::npos) continue;
        const std::string twice = rel.substr(0, rel.size() - 4) + "@2x.png";
        EXPECT_TRUE(listed.count(twice)) << twice;
        const PngSize big = pngSize(resourcesFolder() + twice);
        EXPECT_EQ(big.width, 2 * size.width) << twice;
        EXPECT_EQ(big.height, 2 * size.height) << twice;
    }
}

TEST(Pictures, HelpPageIsShippedAndBilingual) {
    const std::string page = readFile(resourcesFolder() + "tarvolin_help.htm");
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("charset=\"utf-8\""), std::string::npos);
    EXPECT_NE(page.find("Βοήθεια - Help"), std::string::npos);
}

}  // namespace
}  // namespace tarvolin
