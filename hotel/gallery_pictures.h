#pragma once

// The fixed names the `view` command's screens use: the page pictures of the two galleries and
// of the scene replay menu, the picture behind each gallery thumbnail, and the scene chunk of
// each replay cell. The game shows and starts these; the script checker looks for them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvan::gallery {

inline constexpr int kPageCount = 5;
inline constexpr int kSceneCellCount = 27;

// The scene replay menu's picture.
inline constexpr std::string_view kSceneMenuPicture = "A531";

// A gallery's page picture: "a51N" for gallery 1, "a61N" for gallery 2, N the page (1 to 5).
inline std::string pagePicture(bool firstGallery, std::int32_t page) {
    return (firstGallery ? "a51" : "a61") + std::to_string(page);
}

// The picture behind each thumbnail, by page. Gallery 1 shows some pictures twice.
inline constexpr std::array<std::array<std::string_view, 8>, kPageCount> kGallery1Pictures{{
    {"A200", "A201", "A202", "A203", "A204", "A205", "A205", "A206"},
    {"A207", "A208", "A209", "A210", "A211", "A212", "A213", "A214"},
    {"A215", "A216", "A217", "A217", "A218", "A219", "A220", "A221"},
    {"A222", "A223", "A224", "A225", "A226", "A227", "A228", "A229"},
    {"A230", "A231", "A232", "A233", "A236", "A235", "A235", "A234"},
}};

// Gallery 2's last page has eight pictures; its empty places are never opened.
inline constexpr std::array<std::array<std::string_view, 12>, kPageCount> kGallery2Pictures{{
    {"A001", "A002", "A003", "A004", "A005", "A006", "A007", "A008", "A009", "A013", "A014",
     "A017"},
    {"A022", "A024", "A025", "A026", "A028", "A029", "A030", "A031", "A033", "A034", "A035",
     "A036"},
    {"A037", "A038", "A039", "A040", "A041", "A043", "A044", "A045", "A046", "A047", "A048",
     "A050"},
    {"A051", "A052", "A053", "A054", "A056", "A058", "A059", "A060", "A061", "A062", "A063",
     "A064"},
    {"A065", "A066", "A067", "A118", "A018", "A068", "A057", "A072", "", "", "", ""},
}};

// The scene chunk of each replay cell; cells 14 and 15 have none.
inline constexpr std::array<std::string_view, kSceneCellCount> kSceneChunks{
    "H2_B_A", "H2_k_A", "H2_D_A", "H2_M_A", "H2_F_A", "H2_G_A", "H2_A_A",  // 1-7
    "H2_L_A", "H2_E_A", "H2_H_A", "H2_O_A", "H2_J_A", "H2_N_A",            // 8-13
    "",       "",                                                          // 14-15
    "H2_c_M", "H2_A_M", "H2_J_m", "H2_H_M", "H2_E_M", "H2_g_m",            // 16-21
    "H2_K_M", "H2_D_M", "H2_M_m", "H2_F_M", "H2_P_M", "H2_N_m",            // 22-27
};

}  // namespace corvan::gallery
