// Projects as a user keeps them: saved from the "Datei" menu, opened again after everything
// changed or after the folder moved, refused or taken in part when a file is hostile, and
// rendered from the command line by a batch file.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/session.h"

namespace {

constexpr int open_item = 10, save_item = 11, save_as_item = 12, catalogue_item = 18, quit_item = 19;
constexpr int turn_bar = 18, camera_bar = 19, size_depth_bar = 15;
constexpr const char* open_title = "Projekt \xF6" "ffnen";
constexpr const char* save_as_title = "Projekt speichern unter";

const face_choice front_in_box = {9, "Bild f\xFCr die R\xFC" "ckseite", "box\\front.jpg", 341, 767, 220, 200, 20};
const face_choice left_in_box = {8, "Bild f\xFCr Oben", "box\\left.jpg", 83, 255, 40, 60, 200};

using picture = pixel_grid;

std::string text_of(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::vector<uint8_t> bytes_of(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// A folder of files this test made, emptied and removed so that a run starts from nothing.
void remove_folder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileA((folder + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
    RemoveDirectoryA(folder.c_str());
}

class Projects : public testing::Test {
protected:
    void SetUp() override {
        start_image_runtime();
        const char* name = testing::UnitTest::GetInstance()->current_test_info()->name();
        run_ = std::make_unique<session>(name);
        ASSERT_NE(run_->window(), nullptr) << "Tessaryn's window did not open";
    }

    void menu(int item) const { PostMessageA(run_->window(), WM_COMMAND, WPARAM(item), 0); }
    // `over_changed`: the question about the changed project before is answered "Nein".
    bool open(const std::string& project, bool over_changed = false) const {
        menu(open_item);
        if (over_changed && answer_message(run_->program(), IDNO).find("speichern?") == std::string::npos) return false;
        return answer_file_dialog(run_->program(), open_title, project) && caught_up(run_->window());
    }
    picture snapshot(const char* name) const {
        run_->click(13);
        return run_->snapshot(name);
    }
    int bar(int number) const { return GetScrollPos(run_->g(number), SB_CTL); }

    std::unique_ptr<session> run_;
};

// The view is set by every kind of control, saved, changed throughout and opened again; the
// folder then moves with its pictures and the project, and still opens with them.
TEST_F(Projects, SavedProjectOpensAsItWasSavedAlsoFromAMovedFolder) {
    remove_folder(full_path("box"));
    remove_folder(full_path("moved_box"));
    ASSERT_TRUE(CreateDirectoryA(full_path("box").c_str(), nullptr));
    ASSERT_TRUE(run_->choose_face(front_in_box));
    ASSERT_TRUE(run_->choose_face(left_in_box));
    post_scroll(run_->g(turn_bar), SB_PAGERIGHT, 5);
    post_scroll(run_->g(camera_bar), SB_LINERIGHT, 2);
    run_->click(42);
    run_->click(12);
    ASSERT_TRUE(answer_colour_dialog(run_->program(), 30, 120, 90));
    menu(save_as_item);
    ASSERT_TRUE(answer_file_dialog(run_->program(), save_as_title, full_path("box\\shot")));
    ASSERT_TRUE(caught_up(run_->window()));
    const std::string saved_project = full_path("box\\shot.tessaryn");
    ASSERT_TRUE(file_exists(saved_project)) << "the name gets the extension";
    EXPECT_NE(text_of(read_file(saved_project)).find("Front=front.jpg"), std::string::npos)
        << "a picture beside the project is kept relative:\n" << text_of(read_file(saved_project));
    const picture saved = snapshot("saved.jpg");
    const int turn = bar(turn_bar), camera = bar(camera_bar);
    tessaryn_process command_line;
    const std::string small_export = full_path("command_line.jpg");
    ASSERT_TRUE(command_line.start(build_path("bin/Tessaryn.exe"), run_->folder(),
                                   "\"" + saved_project + "\" /export \"" + small_export + "\" /size 295"));
    EXPECT_EQ(command_line.wait_for_exit(60000), 0u);
    EXPECT_LT(mean_difference(saved, load_pixels(small_export.c_str())), 2.0) << "the command line's snapshot";

    ASSERT_TRUE(run_->choose_face({9, front_in_box.title, "other_front.jpg", 341, 767, 10, 10, 10}));
    post_scroll(run_->g(turn_bar), SB_PAGELEFT, 3);
    post_scroll(run_->g(camera_bar), SB_LINELEFT, 3);
    run_->click(43);
    run_->click(43);
    run_->click(12);
    ASSERT_TRUE(answer_colour_dialog(run_->program(), 250, 250, 0));
    EXPECT_GT(mean_difference(saved, snapshot("changed.jpg")), 2.0) << "the change shows";

    ASSERT_TRUE(open(saved_project, true));
    EXPECT_LT(mean_difference(saved, snapshot("reopened.jpg")), 2.0);
    EXPECT_EQ(bar(turn_bar), turn);
    EXPECT_EQ(bar(camera_bar), camera);

    ASSERT_TRUE(MoveFileA(full_path("box").c_str(), full_path("moved_box").c_str()));
    ASSERT_TRUE(run_->choose_face({9, front_in_box.title, "other_front.jpg", 341, 767, 10, 10, 10}));
    ASSERT_TRUE(open(full_path("moved_box\\shot.tessaryn"), true));
    EXPECT_TRUE(run_->atlas_shows(front_in_box));
    EXPECT_EQ(window_text(run_->g(33)), full_path("moved_box\\front.jpg"));
}

TEST_F(Projects, BeendenEndsTheProgramAsClosingTheWindowDoes) {
    menu(quit_item);
    EXPECT_EQ(run_->program().wait_for_exit(20000), 0u);
}

bool titled(HWND window, const std::string& title) {
    return eventually(5000, [&] { return window_text(window) == title; });
}

// Asks whether the session may end, as Windows does at log-off, answers the program's question
// with `button` and gives back what the program answered Windows.
DWORD_PTR end_session(const tessaryn_process& program, HWND window, int button) {
    DWORD_PTR agreed = 2;
    std::thread windows([&] {
        SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &agreed);
    });
    const std::string asked = answer_message(program, button);
    windows.join();
    EXPECT_NE(asked.find("speichern?"), std::string::npos) << "asked: " << asked;
    return agreed;
}

// A saved project, changed, is asked about when it closes: "Abbrechen" keeps it open and the
// file as it was, and is not asked again; "Ja" saves; opened and left alone it closes at once;
// Ctrl+S saves; logging off asks too, "Abbrechen" refuses it and "Nein" lets it end unsaved.
TEST_F(Projects, ChangedProjectIsAskedAboutBeforeItCloses) {
    const std::string file = full_path("asked.tessaryn");
    menu(save_as_item);
    ASSERT_TRUE(answer_file_dialog(run_->program(), save_as_title, file));
    EXPECT_TRUE(titled(run_->window(), "asked.tessaryn - Tessaryn")) << window_text(run_->window());
    const std::vector<uint8_t> unchanged = read_file(file);
    run_->click(42);
    EXPECT_TRUE(titled(run_->window(), "asked.tessaryn* - Tessaryn")) << window_text(run_->window());
    PostMessageA(run_->window(), WM_CLOSE, 0, 0);
    EXPECT_NE(answer_message(run_->program(), IDCANCEL).find("\xC4nderungen an asked.tessaryn speichern?"),
              std::string::npos);
    EXPECT_TRUE(caught_up(run_->window()));
    EXPECT_EQ(run_->program().wait_for_window("Tessaryn", "#32770", 1000), nullptr) << "asked once";
    EXPECT_EQ(read_file(file), unchanged) << "Abbrechen";
    menu(quit_item);
    EXPECT_FALSE(answer_message(run_->program(), IDYES).empty());
    EXPECT_EQ(run_->program().wait_for_exit(20000), 0u);
    const std::vector<uint8_t> zoomed = read_file(file);
    EXPECT_NE(zoomed, unchanged) << "Ja saves";

    run_ = std::make_unique<session>("asked_again");
    ASSERT_TRUE(run_->program().drop_files(run_->g(6), {file}));
    EXPECT_TRUE(titled(run_->window(), "asked.tessaryn - Tessaryn")) << "opened by a drop";
    PostMessageA(run_->window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run_->program().wait_for_exit(20000), 0u) << "nothing changed, nothing asked";

    run_ = std::make_unique<session>("asked_once_more");
    ASSERT_TRUE(open(file));
    run_->click(43);
    press_shortcut(run_->window(), 'S');
    EXPECT_TRUE(eventually(5000, [&] { return read_file(file) == unchanged; })) << "Ctrl+S";
    run_->click(43);
    EXPECT_TRUE(titled(run_->window(), "asked.tessaryn* - Tessaryn")) << window_text(run_->window());
    EXPECT_EQ(end_session(run_->program(), run_->window(), IDCANCEL), DWORD_PTR(FALSE)) << "refused";
    EXPECT_EQ(end_session(run_->program(), run_->window(), IDNO), DWORD_PTR(TRUE));
    SendMessageTimeoutA(run_->window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, nullptr);
    EXPECT_EQ(run_->program().wait_for_exit(20000), 0u) << "ended without asking again";
    EXPECT_EQ(read_file(file), unchanged) << "Nein";
}

// An atlas another program holds while a project opens gives the history no bytes to keep:
// undo later writes back the atlas as it was, whole, never what a failed read left.
TEST_F(Projects, AtlasHeldWhileAProjectOpensIsNeverWrittenBackCut) {
    const std::string atlas_file = run_->model_file("cube1.jpg");
    const std::string file = full_path("no_pictures.tessaryn");
    write_file(file, bytes_of("[Tessaryn]\r\nVersion=1\r\n"));
    HANDLE holder = CreateFileA(atlas_file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const bool opened = open(file);
    CloseHandle(holder);
    ASSERT_TRUE(opened && caught_up(run_->window()));
    // A zoom shown is a frame gone by since the release: the history has its first state.
    const picture unzoomed = run_->still_preview();
    run_->click(42);
    run_->preview_changed_from(unzoomed, 1.0);
    const std::vector<uint8_t> before = read_file(atlas_file);
    ASSERT_TRUE(run_->choose_face({9, front_in_box.title, "held_front.jpg", 341, 767, 220, 200, 20}));
    menu(20);
    EXPECT_TRUE(eventually(20000, [&] { return read_file(atlas_file) == before; }))
        << "the atlas has " << read_file(atlas_file).size() << " bytes, " << before.size() << " before";
}

// A picture that cannot be found keeps its path through an open and a save; a picture on a
// network path is asked about before anything touches it, and "Nein" names its face.
TEST_F(Projects, PicturesNotTakenKeepTheirPathsAndNetworkOnesAreAskedAbout) {
    const std::string file = full_path("kept.tessaryn");
    write_file(file, bytes_of("[Tessaryn]\r\nVersion=1\r\n[Faces]\r\nFront=gone.jpg\r\n"
                              "Top=\\\\tessaryn-test-server\\share\\top.jpg\r\n"));
    menu(open_item);
    ASSERT_TRUE(answer_file_dialog(run_->program(), open_title, file));
    EXPECT_NE(answer_message(run_->program(), IDNO).find("Netzwerk"), std::string::npos);
    const std::string told = dismiss_message(run_->program());
    EXPECT_NE(told.find("Oberseite"), std::string::npos) << told;
    EXPECT_NE(told.find("gone.jpg"), std::string::npos) << told;
    menu(save_item);
    ASSERT_TRUE(caught_up(run_->window()));
    const std::string saved = text_of(read_file(file));
    EXPECT_NE(saved.find("Front=gone.jpg"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Top=\\\\tessaryn-test-server\\share\\top.jpg"), std::string::npos) << saved;
}

// The list survives a restart; an item opens the project its label names, though another
// Tessaryn changed the list since; a project gone since is told and leaves the list.
TEST(RecentProjects, AreKeptAndAMissingOneIsToldAndDropped) {
    const std::string file = full_path("recent.tessaryn");
    {
        session run("recent_projects", true);
        ASSERT_NE(run.window(), nullptr);
        PostMessageA(run.window(), WM_COMMAND, WPARAM(save_as_item), 0);
        ASSERT_TRUE(answer_file_dialog(run.program(), save_as_title, file));
        ASSERT_TRUE(caught_up(run.window()));
    }
    session again("recent_projects", true);
    ASSERT_NE(again.window(), nullptr);
    const std::string settings = again.folder() + "\\Tessaryn.ini";
    WritePrivateProfileStringA("Zuletzt", "Projekt1", "elsewhere.tessaryn", settings.c_str());
    PostMessageA(again.window(), WM_COMMAND, 30, 0);
    EXPECT_TRUE(titled(again.window(), "recent.tessaryn - Tessaryn")) << window_text(again.window());
    ASSERT_TRUE(DeleteFileA(file.c_str()));
    PostMessageA(again.window(), WM_COMMAND, 30, 0);
    EXPECT_NE(dismiss_message(again.program()).find(file), std::string::npos);
    EXPECT_TRUE(caught_up(again.window()));
    char kept[MAX_PATH] = {};
    GetPrivateProfileStringA("Zuletzt", "Projekt1", "", kept, MAX_PATH, settings.c_str());
    EXPECT_STREQ(kept, "elsewhere.tessaryn") << "dropped from the list";
}

// "Katalog exportieren...": the table, then the folder with the profile as the report's file
// type; the rows are written, the summary told, and the window shows the box it showed.
TEST_F(Projects, CatalogueFromTheMenuTellsItsSummaryAndKeepsTheBox) {
    write_face_picture({9, "", "menu_front.jpg", 341, 767, 220, 200, 20});
    write_file("menu.csv", bytes_of("sku,front,outputs\nM1," + full_path("menu_front.jpg") + ",main\nM2,gone.jpg,main\n"));
    CreateDirectoryA("menu_out", nullptr);
    const int depth = bar(size_depth_bar);
    menu(catalogue_item);
    ASSERT_TRUE(answer_file_dialog(run_->program(), "Katalog exportieren: Produkttabelle", full_path("menu.csv")));
    ASSERT_TRUE(answer_file_dialog(run_->program(), "Katalog exportieren: Ordner und Profil",
                                   full_path("menu_out\\catalogue-report.csv"), 2));
    const std::string told = dismiss_message(run_->program());
    EXPECT_NE(told.find("Geschrieben: 1, schon aktuell: 0, fehlgeschlagen: 1."), std::string::npos) << told;
    EXPECT_TRUE(file_exists(full_path("menu_out\\M1\\M1.png"))) << "the plain profile";
    EXPECT_EQ(bar(size_depth_bar), depth) << "the box the window showed";
}

struct hostile_project {
    const char* file;
    std::string content;
    const char* told;  // a part of the message
};

// Each file is opened in turn into the same window: it is told, the atlas stays as it was,
// the scroll bars stand within their ranges and the program goes on answering.
TEST_F(Projects, HostileProjectsAreToldAndLeaveASoundState) {
    CreateDirectoryA(full_path("a_folder.jpg").c_str(), nullptr);
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += char(i * 7919 % 251);
    const std::string header = "[Tessaryn]\r\nVersion=1\r\n";
    const hostile_project hostile[] = {
        {"notes.tessaryn", "Einkaufsliste\r\nMilch\r\n", "kein Tessaryn-Projekt"},
        {"later.tessaryn", "[Tessaryn]\r\nVersion=2\r\n", "neueren"},
        {"garbage.tessaryn", garbage, "kein Tessaryn-Projekt"},
        {"numbers.tessaryn",
         header + "[Box]\r\nDepth=99999999999999\r\nWidth=-7\r\n[View]\r\nTurnBar=400\r\nZoom=viel\r\n", "angepasst"},
        {"sizes.tessaryn", header + "[Box]\r\nWidthMm=nan\r\nHeightMm=190\r\nDepthMm=14\r\n", "WidthMm=nan"},
        {"paths.tessaryn",
         header + "[Faces]\r\nTop=" + std::string(400, 'a') + ".jpg\r\nRight=CON\r\nLeft=\\\\.\\PhysicalDrive0\r\n"
                  "Front=COM1.jpg\r\nBack=a_folder.jpg\r\nBottom=missing.jpg\r\n",
         "Unterseite"},
    };
    const std::vector<uint8_t> atlas = read_file(run_->model_file("cube1.jpg"));
    for (const hostile_project& file : hostile) {
        write_file(file.file, bytes_of(file.content));
        menu(open_item);
        ASSERT_TRUE(answer_file_dialog(run_->program(), open_title, full_path(file.file))) << file.file;
        const std::string message = dismiss_message(run_->program());
        EXPECT_NE(message.find(file.told), std::string::npos) << file.file << " told:\n" << message;
        EXPECT_TRUE(caught_up(run_->window())) << file.file;
        EXPECT_EQ(read_file(run_->model_file("cube1.jpg")), atlas) << file.file;
        for (int number = size_depth_bar; number <= 20; ++number) {
            const int position = bar(number);
            EXPECT_TRUE(position >= 1 && position <= 355) << file.file << ": bar " << number << " at " << position;
        }
    }
}

// What a batch file sees: the exit code, the text on its redirected output, and the file,
// which is whole or not there at all.
TEST(ProjectsFromTheCommandLine, ExportWritesTheFileOrTellsWhy) {
    start_image_runtime();
    const std::string folder = full_path("command_line");
    ASSERT_TRUE(prepare_model_folder(folder, {}));
    const face_choice front = {9, "", "command_line\\front.jpg", 341, 767, 220, 200, 20};
    write_face_picture(front);
    write_file(folder + "\\box.tessaryn", bytes_of("[Tessaryn]\r\nVersion=1\r\n[Faces]\r\nFront=front.jpg\r\n"));
    const auto run = [&](const std::string& arguments, std::string* said) {
        return run_from_command_line(folder, arguments, said);
    };
    std::string said;
    DeleteFileA((folder + "\\box.png").c_str());
    EXPECT_EQ(run("box.tessaryn /export box.png", &said), 0u) << said;
    EXPECT_NE(said.find("Bild gespeichert: " + folder + "\\box.png"), std::string::npos) << said;
    const picture exported = load_pixels((folder + "\\box.png").c_str(), true);
    ASSERT_EQ(exported.width, 2048);
    EXPECT_EQ(exported.at(0, 0) >> 24, 0u) << "transparent";
    const int x = (147 + 40) * 2048 / 295, y = (147 - 20) * 2048 / 295;
    EXPECT_LE(channel_distance(exported.at(x, y) & 0xFFFFFF, rgb(front.r, front.g, front.b)), 12) << "the front face";

    // The set's folders are not there: they are made, as a user naming them expects.
    const char* const suffixes[] = {"-ansicht", "-vorne", "-hinten", "-links", "-rechts", "-oben", "-rechts-vorne"};
    for (const char* suffix : suffixes) DeleteFileA((folder + "\\set\\shop\\box" + suffix + ".png").c_str());
    for (const char* made : {"\\set\\shop", "\\set"}) RemoveDirectoryA((folder + made).c_str());
    EXPECT_EQ(run("box.tessaryn /export-set set\\shop\\box.png /fill", &said), 0u) << said;
    for (const char* suffix : suffixes)
        EXPECT_TRUE(file_exists(folder + "\\set\\shop\\box" + suffix + ".png")) << suffix;
    const RECT framed = drawn_bounds(load_pixels((folder + "\\set\\shop\\box-ansicht.png").c_str(), true));
    const RECT unframed = drawn_bounds(exported);
    EXPECT_GT(framed.right - framed.left, 3 * (unframed.right - unframed.left) / 2) << "/fill";

    EXPECT_EQ(run("box.tessaryn /export box.jpg /size 295 /fill", &said), 2u) << "the snapshot is not framed";
    EXPECT_NE(said.find("/export-set"), std::string::npos) << "the usage follows:\n" << said;

    const std::string unwritable = folder + "\\no_such_folder\\box.png";
    EXPECT_EQ(run("box.tessaryn /export \"" + unwritable + "\" /size 4096", &said), 1u) << said;
    EXPECT_NE(said.find("nicht gespeichert"), std::string::npos) << said;
    EXPECT_NE(said.find(unwritable), std::string::npos) << said;
    EXPECT_NE(said.find("Den Ordner gibt es nicht."), std::string::npos) << said;
    EXPECT_FALSE(file_exists(unwritable));

    // A DVD case seen straight from the front: its front drawn in its own proportions.
    write_file(folder + "\\dvd.tessaryn", bytes_of("[Tessaryn]\r\nVersion=1\r\n[Box]\r\nWidthMm=135\r\nHeightMm=190\r\n"
                                                   "DepthMm=14\r\n[View]\r\nTurnAngle=90\r\n"));
    EXPECT_EQ(run("dvd.tessaryn /export dvd.png", &said), 0u) << said;
    const RECT front_drawn = drawn_bounds(load_pixels((folder + "\\dvd.png").c_str(), true));
    const double drawn = double(front_drawn.right - front_drawn.left) / (front_drawn.bottom - front_drawn.top);
    EXPECT_NEAR(drawn / (135.0 / 190.0), 1.0, 0.005) << front_drawn.right - front_drawn.left << " x " << front_drawn.bottom - front_drawn.top;
    write_file(folder + "\\huge.tessaryn", bytes_of("[Tessaryn]\r\nVersion=1\r\n[Box]\r\nWidthMm=1e400\r\nHeightMm=1\r\nDepthMm=1\r\n"));
    EXPECT_EQ(run("huge.tessaryn /export huge.png", &said), 1u) << said;
    EXPECT_NE(said.find("WidthMm=1e400"), std::string::npos) << said;
    EXPECT_FALSE(file_exists(folder + "\\huge.png"));
    // The template is drawn from the millimetres alone: one refused writes nothing.
    for (const char* width : {"180,5", "abc", "0", "-5", "1e400", "99999999", "nan"}) {
        write_file(folder + "\\mm.tessaryn", bytes_of(std::string("[Tessaryn]\r\nVersion=1\r\n[Box]\r\nWidthMm=") + width +
                                                      "\r\nHeightMm=140\r\nDepthMm=60\r\n"));
        EXPECT_EQ(run("mm.tessaryn /export-template mm.png", &said), 1u) << width << ": " << said;
        EXPECT_NE(said.find(std::string("WidthMm=") + width), std::string::npos) << said;
        EXPECT_FALSE(file_exists(folder + "\\mm.png")) << width;
    }

    write_file(folder + "\\broken.jpg", bytes_of("\xFF\xD8\xFF not a picture"));
    write_file(folder + "\\broken.tessaryn", bytes_of("[Tessaryn]\r\nVersion=1\r\n[Faces]\r\nFront=broken.jpg\r\n"));
    EXPECT_EQ(run("broken.tessaryn /export broken.png", &said), 1u) << said;
    EXPECT_NE(said.find("nicht lesen"), std::string::npos) << said;
    EXPECT_NE(said.find("Vorderseite: " + folder + "\\broken.jpg"), std::string::npos) << "the face named: " << said;
    EXPECT_FALSE(file_exists(folder + "\\broken.png")) << "a picture with a face missing";
}

// A table of three products, the last one's picture missing: the others' files are written
// whole, the report tells all three, and a second run leaves the written ones alone.
TEST(ProjectsFromTheCommandLine, CatalogueWritesEachRowAndReportsTheOneThatFailed) {
    start_image_runtime();
    const std::string folder = full_path("catalogue");
    ASSERT_TRUE(prepare_model_folder(folder, {}));
    write_face_picture({9, "", "catalogue\\front.jpg", 341, 767, 220, 200, 20});
    for (const char* kept : {"\\out\\A1\\A1.png", "\\out\\B2\\B2.png", "\\out\\B2.MAIN.jpg"}) DeleteFileA((folder + kept).c_str());
    std::string said;
    // The box's own print template is a sheet that fits it.
    write_file(folder + "\\sheet.tessaryn", bytes_of("[Tessaryn]\r\nVersion=1\r\n[Box]\r\nWidthMm=135\r\nHeightMm=190\r\nDepthMm=14\r\n"));
    ASSERT_EQ(run_from_command_line(folder, "sheet.tessaryn /export-template sheet.png", &said), 0u) << said;
    // B2 is a DVD case of its standard size, whose insert only fits that size.
    write_file(folder + "\\dvd.tessaryn", bytes_of("[Tessaryn]\r\nVersion=1\r\n[Box]\r\nShape=dvd\r\n"));
    ASSERT_EQ(run_from_command_line(folder, "dvd.tessaryn /export-template insert.png", &said), 0u) << said;
    write_file(folder + "\\products.csv", bytes_of("sku;sheet;front;width_mm;height_mm;depth_mm;outputs;shape\r\n"
                                                   "A1;sheet.png;;135;190;14;main;\r\nB2;insert.png;;;;;main;dvd\r\n"
                                                   "C3;;missing.jpg;;;;main;\r\n"));
    const auto report = [&](const char* name) {
        const std::vector<uint8_t> bytes = read_file(folder + "\\out\\" + name);
        return std::string(bytes.begin(), bytes.end());
    };
    const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    EXPECT_EQ(run_from_command_line(folder, "/catalogue products.csv /out out /profile plain", &said), 1u) << said;
    EXPECT_NE(said.find(": C3"), std::string::npos) << "the product named: " << said;
    EXPECT_TRUE(file_exists(folder + "\\out\\A1\\A1.png"));
    EXPECT_TRUE(file_exists(folder + "\\out\\B2\\B2.png"));
    EXPECT_FALSE(file_exists(folder + "\\out\\C3")) << "nothing of the failed row";
    std::string text = report("catalogue-report.csv");
    EXPECT_EQ(lines(text), 4) << text;
    EXPECT_NE(text.find("4;C3;failed;Die Datei fehlt: " + folder + "\\missing.jpg"), std::string::npos) << text;

    EXPECT_EQ(run_from_command_line(folder, "/catalogue products.csv /out out /profile plain", &said), 1u) << said;
    text = report("catalogue-report.csv");
    EXPECT_NE(text.find("2;A1;skipped"), std::string::npos) << text;
    EXPECT_NE(text.find("3;B2;skipped"), std::string::npos) << text;

    EXPECT_EQ(run_from_command_line(folder, "/catalogue products.csv /out out /shard 1/2", &said), 0u) << said;
    text = report("catalogue-report-1-of-2.csv");
    EXPECT_EQ(lines(text), 2) << text;
    EXPECT_NE(text.find("3;B2;ok;;B2.MAIN.jpg;2000;"), std::string::npos) << text;
    EXPECT_NE(text.find(";#FFFFFF"), std::string::npos) << "a white background: " << text;
    EXPECT_FALSE(file_exists(folder + "\\out\\A1.MAIN.jpg")) << "the first row is the other shard's";
}

}  // namespace
