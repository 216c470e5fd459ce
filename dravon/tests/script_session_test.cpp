// Scripted sessions through the built program, compared with their whole transcripts.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

#include "dravon/card/text_fields.h"
#include "dravon/tests/card_test_support.h"

namespace dravon {
namespace {

using testing::CadFixture;
using testing::partLine;
using testing::partsList;
using testing::TempFolder;

struct SessionResult {
  int status = -1;
  std::string out;
  std::string err;
};

class ScriptSession : public ::testing::Test {
 protected:
  void SetUp() override {
    list = home.write("cards/x.lst", partsList({partLine(' ', "U1", "3310-08", "IC", 124),
                                                partLine(' ', "R1", "1001-47", "RES", 124)},
                                               "CARD A", "PN-B", "EC-C"));
    home.write("cards/x.DCA", CadFixture{}.text());
  }

  // Runs `script` with settings and card folders of this test's own. `folders` unset leaves
  // DRAVON_CARD_FOLDERS out, so the program's default folders apply.
  SessionResult run(const std::string& script, const char* folders, const std::string& input = "") {
    const std::string file = home.write("script.txt", script);
    std::string command =
        "cd '" + home.folder() + "' && XDG_CONFIG_HOME='" + home.file("config") + "' ";
    command += folders == nullptr ? "env -u DRAVON_CARD_FOLDERS "
                                  : "DRAVON_CARD_FOLDERS='" + std::string(folders) + "' ";
    command += std::string("'") + DRAVON_BINARY + "' --script ";
    command += input.empty() ? "'" + file + "'" : "- < '" + home.write("in.txt", input) + "'";
    command += " > out.txt 2> err.txt";
    SessionResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    EXPECT_TRUE(readWholeFile(home.file("out.txt"), r.out));
    EXPECT_TRUE(readWholeFile(home.file("err.txt"), r.err));
    return r;
  }

  [[nodiscard]] std::string cards() const { return home.folder() + "cards/"; }

  TempFolder home;
  std::string list;
};

const char* const kConverted =
    "model: cardName=\"CARD A\" devices=2 pads=3 testPoints=1 vias=1 lines=1 outlineLines=3 "
    "shapes=3 nets=2 listEntries=2 pdfLinks=0 imageRect=0,0,1010,800 origin=30,40 layerCount=2 "
    "resolution=3\n";

TEST_F(ScriptSession, ConversionThenOpen) {
  const SessionResult r =
      run("print title\nopen " + list + "\nprint title\nprint model\nprint status\n" + "open " +
              list + "\nprint title\nprint model\nprint status\n",
          cards().c_str());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, std::string("title: Untitled\n") + "title: Untitled\n" + kConverted +
                       "status0: f5:zoom In  f6:zoom Out F9:Multi line mark up\n"
                       "status1: reading SHAPE data\n"
                       "status2: CAP\n"
                       "status3: \n"
                       "status4: \n"
                       "title: CARD A  P/N:PN-B  EC:EC-C\n"
                       "model: cardName=\"CARD A\" devices=2 pads=3 testPoints=1 vias=1 lines=1 "
                       "outlineLines=3 shapes=3 nets=2 listEntries=2 pdfLinks=0 "
                       "imageRect=0,0,336,266 origin=30,40 layerCount=2 resolution=3\n"
                       "status0: f5:zoom In  f6:zoom Out F9:Multi line mark up\n"
                       "status1: creating back side image\n"
                       "status2: CAP\n"
                       "status3: \n"
                       "status4: \n");
}

TEST_F(ScriptSession, NewAndSaveLeaveTheCardAndItsFiles) {
  std::string before;
  ASSERT_TRUE(readWholeFile(list, before));
  const SessionResult r =
      run("open " + list + "\nopen " + list + "\nkey Ctrl+S\nprint title\nkey Ctrl+N\n" +
              "print title\nopen " + list + "\ncommand 57600\nprint title\nprint model\n",
          cards().c_str());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "title: CARD A  P/N:PN-B  EC:EC-C\n"
            "title: Untitled\n"
            "title: Untitled\n"
            "model: cardName=\"CARD A\" devices=2 pads=3 testPoints=1 vias=1 lines=1 "
            "outlineLines=3 shapes=3 nets=2 listEntries=2 pdfLinks=0 imageRect=0,0,336,266 "
            "origin=30,40 layerCount=2 resolution=3\n");
  std::string after;
  ASSERT_TRUE(readWholeFile(list, after));
  EXPECT_EQ(after, before) << "the parts list is never written";
}

TEST_F(ScriptSession, OutsideTheCardFoldersNothingIsConverted) {
  const std::string script = "open " + list + "\nprint title\nprint model\n";
  const std::string expected =
      "title: Untitled\n"
      "model: cardName=\"CARD A\" devices=0 pads=0 testPoints=0 vias=0 lines=0 outlineLines=0 "
      "shapes=0 nets=0 listEntries=2 pdfLinks=0 imageRect=0,0,0,0 origin=0,0 layerCount=0 "
      "resolution=3\n";
  struct Case {
    const char* why;
    const char* folders;
  };
  std::string upper = cards();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Case& c :
       {Case{"the default folders", nullptr}, Case{"another folder", "/tmp/elsewhere/"},
        Case{"the card folder written in another case", upper.c_str()}}) {
    SCOPED_TRACE(c.why);
    const SessionResult r = run(script, c.folders);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, expected);
    EXPECT_FALSE(std::filesystem::exists(cards() + "x.QDX"));
  }
}

TEST_F(ScriptSession, ResolutionIsKeptBetweenSessions) {
  SessionResult r = run("command 32793\nopen cards/x.lst\n", cards().c_str());
  EXPECT_EQ(r.status, 0);
  r = run("print model\nopen cards/x.lst\nprint model\ncommand 32789\n", cards().c_str());
  EXPECT_EQ(r.out,
            "model: cardName=\"\" devices=0 pads=0 testPoints=0 vias=0 lines=0 outlineLines=0 "
            "shapes=0 nets=0 listEntries=0 pdfLinks=0 imageRect=0,0,0,0 origin=0,0 layerCount=0 "
            "resolution=12\n"
            "model: cardName=\"CARD A\" devices=2 pads=3 testPoints=1 vias=1 lines=1 "
            "outlineLines=3 shapes=3 nets=2 listEntries=2 pdfLinks=0 imageRect=0,0,84,66 "
            "origin=30,40 layerCount=2 resolution=12\n");
  std::string settings;
  ASSERT_TRUE(readWholeFile(home.file("config/Local AppWizard-Generated Applications/Dravon.conf"),
                            settings));
  EXPECT_EQ(settings, "[config]\nresolution=1\n");
}

TEST_F(ScriptSession, MessageBoxesAreWrittenWhenTheyAppear) {
  CadFixture broken;
  broken.devices.push_back("U12,5,5,1,0,0,0,0,0,0;");
  home.write("cards/bad.DCA", broken.text());
  home.write("cards/bad.lst", partsList({}));
  const SessionResult r =
      run("open " + cards() + "gone.lst\nprint title\nopen " + cards() + "bad.lst\nprint status\n",
          cards().c_str());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "messagebox: " + cards() +
                       "gone.lst\\nCannot find this file.\\nPlease verify that the correct path "
                       "and file name are given.\n"
                       "title: Untitled\n"
                       "messagebox: [U12  ] Not Found \n"
                       "status0: f5:zoom In  f6:zoom Out F9:Multi line mark up\n"
                       "status1: [U12  ] Not Found \n"
                       "status2: CAP\n"
                       "status3: \n"
                       "status4: \n");
}

TEST_F(ScriptSession, BadLinesStopWithStatusTwo) {
  struct Case {
    const char* why;
    std::string script;
    std::string err;
  };
  for (const Case& c : {
           Case{"an unknown command", "print title\n\n# note\nfly away\nprint title\n",
                "line 4: unknown or unavailable command: fly\n"},
           Case{"a size without numbers", "print title\nsize wide 3\n",
                "line 2: size needs a width and a height\n"},
           Case{"an unclosed quote", "print title\nopen \"x\n",
                "line 2: unterminated quoted argument\n"},
       }) {
    SCOPED_TRACE(c.why);
    const SessionResult r = run(c.script, cards().c_str());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "title: Untitled\n") << "what was printed before stays printed";
    EXPECT_EQ(r.err, c.err);
  }
}

TEST_F(ScriptSession, ReadsTheScriptFromStandardInput) {
  const SessionResult r = run("", cards().c_str(), "size 640 480\nprint title\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "title: Untitled\n");
}

// The demo card of samples/ in a card folder of the test's own.
class PictureSession : public ScriptSession {
 protected:
  void SetUp() override {
    for (const char* name : {"demo.lst", "demo.DCA"}) {
      std::string bytes;
      ASSERT_TRUE(readWholeFile(std::string(DRAVON_SAMPLES_DIR) + "/" + name, bytes));
      home.write(std::string("cards/") + name, bytes);
    }
  }
  [[nodiscard]] QImage picture(const std::string& name) const {
    return QImage(QString::fromStdString(home.file(name)));
  }
};

TEST_F(PictureSession, SavesTheImagesAsBuilt) {
  const SessionResult r =
      run("open cards/demo.lst\nopen cards/demo.lst\nprint view\nsave front front.png\n"
          "save back back.png\nsave composite composite.png\nsave view view.png\nsize 400 300\n"
          "scroll 50 50\nprint view\nsave view small.png\n",
          cards().c_str());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "view: showFront=1 zoomPercent=0 viewScale=1.275 fitWidth=800 fitHeight=538 "
            "clientWidth=800 clientHeight=600 scrollX=0 scrollY=0 displayWidth=800 "
            "displayHeight=538\n"
            "view: showFront=1 zoomPercent=0 viewScale=2.55 fitWidth=400 fitHeight=269 "
            "clientWidth=400 clientHeight=300 scrollX=0 scrollY=0 displayWidth=400 "
            "displayHeight=269\n");

  const QImage front = picture("front.png");
  const QImage back = picture("back.png");
  const QImage composite = picture("composite.png");
  ASSERT_EQ(front.size(), QSize(1020, 686)) << "the image rectangle of the demo card";
  EXPECT_EQ(back.size(), front.size());
  EXPECT_EQ(front.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(front.pixel(510, 25), qRgb(0, 128, 0));
  EXPECT_TRUE(composite == front) << "nothing marked: the composite is the front";
  EXPECT_FALSE(back == front);

  const QImage view = picture("view.png");
  ASSERT_EQ(view.size(), QSize(800, 600));
  EXPECT_EQ(view.pixel(400, 20), qRgb(0, 128, 0)) << "the fitted picture";
  EXPECT_EQ(view.pixel(400, 590), qRgb(255, 255, 255)) << "below it, the window colour";
  EXPECT_EQ(picture("small.png").size(), QSize(400, 300));
}

TEST_F(PictureSession, MissingImagesAreToldAndTheSessionGoesOn) {
  const SessionResult r =
      run("save front a.png\nsize 0 0\nopen cards/demo.lst\nopen cards/demo.lst\n"
          "save composite b.png\nsave view c.png\nprint title\nsave back " +
              cards() + "none/d.png\n",
          cards().c_str());
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("title: DEMO CONTROLLER CARD"), std::string::npos) << "the card is open";
  EXPECT_EQ(r.err,
            "save front: there is no front image\n"
            "save composite: there is no composite image\n"
            "save view: there is no view image\n"
            "save back: there is no back image\n")
      << "an invisible view builds no images";
  for (const char* name : {"a.png", "b.png", "c.png"}) {
    EXPECT_FALSE(std::filesystem::exists(home.file(name))) << name;
  }
}

TEST_F(PictureSession, UnwritablePathsAndBadSaveLines) {
  SessionResult r = run("open cards/demo.lst\nopen cards/demo.lst\nsave front " + cards() +
                            "none/d.png\nprint title\n",
                        cards().c_str());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "save front: cannot write " + cards() + "none/d.png\n");
  struct Case {
    const char* why;
    std::string script;
    std::string err;
  };
  for (const Case& c : {Case{"no path", "save front\n", "line 1: save needs an image and a path\n"},
                        Case{"an unknown image", "save side x.png\n",
                             "line 1: save side is not available in this build\n"}}) {
    SCOPED_TRACE(c.why);
    r = run(c.script, cards().c_str());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, c.err);
  }
}

}  // namespace
}  // namespace dravon
