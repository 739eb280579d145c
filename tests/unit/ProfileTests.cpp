// Profile files read and written through the system's profile functions.
#include <doctest/doctest.h>

#include "support/Scratch.h"
#include "text/IniFile.h"

TEST_CASE("ReadProfile returns long values whole")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "LONG.INI";
    const std::string value255(255, 'x');
    const std::string value300 = std::string(150, 'y') + std::string(150, 'z');
    const std::string value511(511, 'w');
    WriteTextFile(file, "[S]\r\nA=" + value255 + "\r\nB=" + value300 + "\r\nC=" + value511 + "\r\n");
    CHECK(ReadProfile("S", "A", "", file) == value255);
    CHECK(ReadProfile("S", "B", "", file) == value300);
    CHECK(ReadProfile("S", "C", "", file) == value511);
}

TEST_CASE("ReadProfile trims blanks and one pair of quotes and falls back to the default")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "QUOTE.INI";
    WriteTextFile(file,
                  "[Sec]\r\nPlain =   value with blanks   \r\nDouble=\"  quoted  \"\r\nSingle='one'\r\n"
                  "Odd=\"half\r\nJapanese=表示ソ\\\r\nEmpty=\r\n");
    CHECK(ReadProfile("Sec", "Plain", "", file) == "value with blanks");
    CHECK(ReadProfile("sec", "PLAIN", "", file) == "value with blanks");
    CHECK(ReadProfile("Sec", "Double", "", file) == "  quoted  ");
    CHECK(ReadProfile("Sec", "Single", "", file) == "one");
    CHECK(ReadProfile("Sec", "Odd", "", file) == "\"half");
    CHECK(ReadProfile("Sec", "Japanese", "", file) == "表示ソ\\");
    CHECK(ReadProfile("Sec", "Empty", "dflt", file).empty());
    CHECK(ReadProfile("Sec", "Missing", "dflt", file) == "dflt");
    CHECK(ReadProfile("Sec", "Missing", "", file).empty());
    CHECK(ReadProfile("Other", "Plain", "d", file) == "d");
    CHECK(ReadProfile("Sec", "Plain", "", folder / "NONE.INI").empty());
    CHECK(ReadProfile("Sec", "Plain", "400", folder / "NONE.INI") == "400");
}

TEST_CASE("texts beyond what the system's profile functions take: a long fallback whole, a long value refused")
{
    // A setup title of 100 KB is the fallback of the uninstall title; the
    // system takes at most 32766 bytes and, given more, read an undefined
    // default (or crashed) and, writing, deleted the key and said it wrote.
    ScratchFolder folder("ini");
    const std::string file = folder / "HUGE.INI";
    const std::string huge(100 * 1024, 'A');
    WriteTextFile(file, "[Title]\r\nSetup=" + huge + "\r\nUnSetup=Removal\r\nEmpty=\r\n");
    CHECK((ReadProfile("Title", "Setup", "", file) == huge));
    CHECK(ReadProfile("Title", "UnSetup", huge, file) == "Removal");
    CHECK(ReadProfile("title", "EMPTY", huge, file).empty());
    CHECK((ReadProfile("Title", "Missing", huge, file) == huge));
    CHECK((ReadProfile("Other", "Setup", huge, file) == huge));
    CHECK((ReadProfile("Title", "Setup", huge, folder / "NONE.INI") == huge));

    CHECK_FALSE(WriteProfile("Title", "UnSetup", std::string(32767, 'x'), file));
    CHECK(ReadProfile("Title", "UnSetup", "", file) == "Removal");
    const std::string longest(32766, 'y');
    CHECK(WriteProfile("Title", "UnSetup", longest, file));
    CHECK((ReadProfile("Title", "UnSetup", "", file) == longest));
}

TEST_CASE("WriteProfile creates, replaces in place and sees a file changed behind its back")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "NEW.INI";
    CHECK(WriteProfile("A", "K1", "one", file));
    CHECK(WriteProfile("A", "K2", "two", file));
    CHECK(WriteProfile("A", "K1", "uno", file));
    CHECK(WriteProfile("A", "Blank", "", file));
    CHECK(ReadProfile("A", "K1", "", file) == "uno");
    CHECK(ReadProfile("A", "K2", "", file) == "two");
    const std::string text = ReadTextFile(file);
    CHECK(text.find("K1=uno") < text.find("K2=two"));
    CHECK(text.find("Blank=") != std::string::npos);

    // The file is replaced by other means between two writes: the flush
    // before each write makes the system read the new file.
    WriteTextFile(file, "[B]\r\nX=1\r\n");
    CHECK(WriteProfile("B", "Y", "2", file));
    CHECK(ReadProfile("B", "X", "", file) == "1");
    CHECK(ReadProfile("A", "K1", "", file).empty());
}

TEST_CASE("FindNumberedKey finds the entry of the same path or the first free number")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "UNSETUP.INI";
    WriteTextFile(file,
                  "[DeleteFile]\r\nFile1=c:\\app\\a.dll\r\nFile2=C:\\APP\\B.DLL\r\n"
                  "[Gap]\r\nFile1=x\r\nFile3=C:\\APP\\A.DLL\r\n"
                  "[Comma]\r\nFile1=x\r\nFile2=,/S\r\nFile3=y\r\n"
                  "[Japanese]\r\nFile1=C:\\表\\ａ.DLL,/S\r\n");
    CHECK(FindNumberedKey("C:\\APP\\A.DLL,/S", "DeleteFile", "File", file) == 1);
    CHECK(FindNumberedKey("C:\\APP\\B.DLL", "DeleteFile", "File", file) == 2);
    CHECK(FindNumberedKey("C:\\APP\\C.DLL", "DeleteFile", "File", file) == 3);
    CHECK(FindNumberedKey("C:\\APP\\A.DLL", "Gap", "File", file) == 2);
    CHECK(FindNumberedKey("y", "Comma", "File", file) == 2);
    CHECK(FindNumberedKey("C:\\表\\Ａ.dll", "Japanese", "File", file) == 1);
    CHECK(FindNumberedKey("anything", "Missing", "File", file) == 1);
    CHECK(FindNumberedKey("anything", "DeleteFile", "File", folder / "NONE.INI") == 1);
}
