#pragma once
#include <memory>
#include <string>
#include <vector>

#include "content/TAnimImage.h"
#include "media/Audio.h"
#include "media/TImage.h"
#include "media/TImageFont.h"

// Effects are only held here; their definition belongs to the particle layer
// above, which includes fx/TEffect.h to use them.
class TEffect;
using EffectPtr = std::shared_ptr<TEffect>;

// The game's resource vocabulary: one global per resource id, named like the
// id. Each stays null until its group is fetched, and stays null when the
// resource manager does not know the id.

// Init group
extern FontPtr FONT_MENU, FONT_MAIN, FONT_BIG,
    FONT_01, FONT_02, FONT_03,
    FONT_POINTS, FONT_BUTTONBIG, FONT_BUTTONLITTLE,
    FONT_HELP, FONT_HELP_B, FONT_HYPERLINK,
    FONT_NORMAL14, FONT_USERLIST;
extern ImagePtr IMAGE_LOADING_BACK, IMAGE_LOADING_FULL, IMAGE_LOADING_EMPTY,
    IMAGE_LOADING_stone, IMAGE_PARTICLE_01, IMAGE_PARTICLE_02,
    IMAGE_PARTICLE_03, IMAGE_PARTICLE_04, IMAGE_PARTICLE_05,
    IMAGE_PARTICLE_06, IMAGE_PARTICLE_07, IMAGE_PARTICLE_08,
    IMAGE_PARTICLE_09, IMAGE_PARTICLE_10;
extern EffectPtr EFFECT_NOTE, EFFECT_BUTTON, EFFECT_COUNTER,
    EFFECT_LINE, EFFECT_MAP, EFFECT_BONUS50,
    EFFECT_NOTE_GOLD, EFFECT_BONUS50_PICK, EFFECT_MELODY,
    EFFECT_LONGCHILD, EFFECT_NOTE_STAR, EFFECT_STARSLONG,
    EFFECT_water, EFFECT_IMPULSE_STAR, EFFECT_IMPULSE_LONGNOTE,
    EFFECT_IMPULSE_MELODY;

// Zar group (the "ZAR" scope): the two splash screens shown right after the
// display opens, and the logo the main menu links to the game's website with
extern ImagePtr IMAGE_ZAR_SPLASH1, IMAGE_ZAR_SPLASH2, IMAGE_ZAR_LOGO_A,
    IMAGE_ZAR_LOGO_NA;

// Menu group
extern ImagePtr IMAGE_MENU_BACK_LAYER1, IMAGE_MENU_BACK, IMAGE_MENU_ANIMAL_1,
    IMAGE_MENU_ANIMAL_2, IMAGE_MENU_ANIMAL_3, IMAGE_MENU_SUN,
    IMAGE_MENU_EYE_LEFT, IMAGE_MENU_EYE_RIGHT, IMAGE_MENU_EYE_ZRACHOK,
    IMAGE_MENU_MODE1, IMAGE_MENU_MODE1_ON, IMAGE_MENU_BUTTONBACK,
    IMAGE_MENU_BUTTONBACK_ON, IMAGE_MENU_FRAME, IMAGE_MENU_LOGO,
    IMAGE_MENU_BUTTON2, IMAGE_MENU_BUTTON2_ON, IMAGE_MENU_OPTIONS,
    IMAGE_MENU_OPTIONS_ON, IMAGE_MENU_SCORES, IMAGE_MENU_SCORES_ON,
    IMAGE_MENU_EXIT, IMAGE_MENU_EXIT_ON, IMAGE_MENU_HELP,
    IMAGE_MENU_HELP_ON, IMAGE_MENU_BUTTON1, IMAGE_MENU_BUTTON1_ON,
    IMAGE_FORMS_SCROLL_EMPTY, IMAGE_FORMS_SCROLL_FULL, IMAGE_FORMS_SCROLL_MARKER,
    IMAGE_FORMS_CHECKBOX_ON, IMAGE_FORMS_CHECKBOX_OFF, IMAGE_DIALOG,
    IMAGE_DIALOG_UP, IMAGE_DIALOG_DOWN, IMAGE_DIALOG_LEFT,
    IMAGE_DIALOG_RIGHT, IMAGE_BUTTON_D, IMAGE_BUTTON_D_ON,
    IMAGE_BUTTON_D_ON_CLICK, IMAGE_OPTIONS_LABEL, IMAGE_EXIT_LABEL,
    IMAGE_PLAYER_LABEL, IMAGE_MENUOFF, IMAGE_MENUON,
    IMAGE_NEXTOFF, IMAGE_NEXTON, IMAGE_REPLAYOFF,
    IMAGE_REPLAYON, IMAGE_STORY_BACK, IMAGE_STORY_ISLANDS,
    IMAGE_STORY_POINT, IMAGE_STORY_LOCKED, IMAGE_STORY_LEVELSTAR,
    IMAGE_STORY_STAR, IMAGE_STORY_HIGHLIGHT, IMAGE_STORY_001,
    IMAGE_STORY_002, IMAGE_STORY_003, IMAGE_STORY_004,
    IMAGE_STORY_005, IMAGE_STORY_006, IMAGE_STORY_007,
    IMAGE_STORY_008, IMAGE_STORY_009, IMAGE_RESULT_LABEL,
    IMAGE_RESULT_GAMEOVER, IMAGE_RESULT_STAR, IMAGE_RESULT_STAR_EMPTHY,
    IMAGE_RESULT_HISCORE, IMAGE_HELP_LABEL, IMAGE_HELP_RIGHTOFF,
    IMAGE_HELP_RIGHTON, IMAGE_HELP_LEFTON, IMAGE_HELP_LEFTOFF,
    IMAGE_HELP_01, IMAGE_HELP_02, IMAGE_HELP_03,
    IMAGE_HELP_04, IMAGE_HELP_05, IMAGE_HELP_06,
    IMAGE_PRIZES_5LINES, IMAGE_PRIZES_5MELODY, IMAGE_PRIZES_5STARS,
    IMAGE_PRIZES_10LINES, IMAGE_PRIZES_10MELODY, IMAGE_PRIZES_10SERIES,
    IMAGE_PRIZES_10STARS, IMAGE_PRIZES_15MELODY, IMAGE_PRIZES_20SERIES,
    IMAGE_PRIZES_40SERIES, IMAGE_PRIZES_100SERIES, IMAGE_PRIZES_ALLNOTES,
    IMAGE_PRIZES_LINES, IMAGE_PRIZES_LONG, IMAGE_PRIZES_MELODY,
    IMAGE_PRIZES_NOTES, IMAGE_PRIZES_x2, IMAGE_PRIZES_x4;
extern SoundPtr SOUND_MENU_BACK_SONG, SOUND_MENU_DIALOGOPEN, SOUND_MENU_MAIN_CLOSE,
    SOUND_MENU_MAIN_OPEN, SOUND_MENU_MAP_OPEN;

// Gryph group
extern ImagePtr IMAGE_GRYPH_BAT_MAIN, IMAGE_GRYPH_BAT_GOLD, IMAGE_GRYPH_BAT_SILVER,
    IMAGE_GRYPH_BAT_X2, IMAGE_GRYPH_BAT_X4, IMAGE_GRYPH_STAR,
    IMAGE_GRYPH_LIGHTSFX, IMAGE_GRYPH_LINE_LIGHT_1, IMAGE_GRYPH_LINE_LIGHT_2,
    IMAGE_GRYPH_LINE_LIGHT_3, IMAGE_GRYPH_LINE_LIGHT_4, IMAGE_GRYPH_LINE_LIGHT_5,
    IMAGE_GRYPH_LINE_BAD_1, IMAGE_GRYPH_LINE_BAD_2, IMAGE_GRYPH_LINE_BAD_3,
    IMAGE_GRYPH_LINE_BAD_4, IMAGE_GRYPH_LINE_BAD_5, IMAGE_GRYPH_GOLD_FLARE,
    IMAGE_GRYPH_EYE_FX1, IMAGE_GRYPH_EYE_FX2, IMAGE_ITEM_GOLD_LIGHT,
    IMAGE_ITEM_NOTE_1, IMAGE_ITEM_NOTE_2, IMAGE_ITEM_NOTE_3,
    IMAGE_ITEM_NOTE_4, IMAGE_ITEM_NOTE_5, IMAGE_ITEM_FRET,
    IMAGE_ITEM_BONUS50_1, IMAGE_ITEM_BONUS50_2, IMAGE_ITEM_BONUS50_3,
    IMAGE_ITEM_BONUS50_4, IMAGE_ITEM_BONUS50_5, IMAGE_ITEM_BONUS50_6,
    IMAGE_ITEM_BONUS50_7, IMAGE_ITEM_NOTE_ANIM_1, IMAGE_ITEM_NOTE_ANIM_2,
    IMAGE_ITEM_NOTE_ANIM_3, IMAGE_ITEM_NOTE_ANIM_4, IMAGE_ITEM_NOTE_ANIM_5,
    IMAGE_HINT_1, IMAGE_HINT_2, IMAGE_HINT_3,
    IMAGE_MESSAGE_1, IMAGE_MESSAGE_2, IMAGE_MESSAGE_3,
    IMAGE_MESSAGE_4, IMAGE_MESSAGE_5, IMAGE_MESSAGE_6,
    IMAGE_NOTELINE_CIRCLE_1, IMAGE_NOTELINE_CIRCLE_2, IMAGE_NOTELINE_CIRCLE_3,
    IMAGE_NOTELINE_CIRCLE_4, IMAGE_NOTELINE_CIRCLE_5, IMAGE_NOTELINE_CIRCLE_FAIL,
    IMAGE_NOTELINE_CIRCLE_COMPLETED;
extern SoundPtr SOUND_GRYPH_FAIL, SOUND_GRYPH_GOLDRUSH, SOUND_GRYPH_CLICK,
    SOUND_GRYPH_MELODY, SOUND_GRYPH_LONG, SOUND_GRYPH_LONGNOTE,
    SOUND_BONUSEAT, SOUND_RESULT_ACHIVEMENT;

// Skin group
extern ImagePtr IMAGE_GRYPH_BACK, IMAGE_GRYPH_LIGHT, IMAGE_GRYPH_LINES_LIGHT,
    IMAGE_BACK_MAIN, IMAGE_BACK_BLUESKY, IMAGE_BACK_YELLOWSKY;

// The animated stone of the loading screen; made once by LoadMenuAndGryph.
extern AnimImagePtr LoadingStone;

// One id of a group and the global it fills.
template <typename T>
struct CatalogueEntry {
    const char* id;
    T* global;
};

// A group's ids by kind, each list in fetch order.
struct ResourceGroup {
    std::vector<CatalogueEntry<FontPtr>> fonts;
    std::vector<CatalogueEntry<ImagePtr>> images;
    std::vector<CatalogueEntry<SoundPtr>> sounds;
    std::vector<CatalogueEntry<EffectPtr>> effects;
};

const ResourceGroup& InitGroup();
const ResourceGroup& ZarGroup();
const ResourceGroup& MenuGroup();
const ResourceGroup& GryphGroup();
const ResourceGroup& SkinGroup();

// Asks the resource manager for every id of a group, fonts first, then
// images, sounds and effects, and stores each answer in its global.
void FetchGroup(const ResourceGroup& group);
void FetchInitGroup();
void FetchZarGroup();
void FetchMenuGroup();
void FetchGryphGroup();
void FetchSkinGroup();

// Installs the loading screen as the manager's progress callback for the rest
// of the run, then loads and fetches the Menu and Gryph scopes under one bar.
void LoadMenuAndGryph();

// Left edge of both loading bars for an empty-bar image of this width.
int LoadingBarX(int emptyWidth);
// How many pixels of the full bar show at `percent`.
int LoadingBarReveal(int fullWidth, float percent);
// Draws one loading-screen frame at `percent` without presenting it.
void DrawLoadingFrame(float percent);
// The progress callback: draws the frame, polls events and presents it, at
// most one frame every few hundredths of a second but always at 100 %.
void DrawLoadingScreen(float percent);
