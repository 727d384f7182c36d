#pragma once

// Keys of the view settings. "tarnkit." keys are engine options, "window." options of the host
// window, "font." and "background." text rendering, "tnv." per-file host options, "styles."
// stylesheet fragments.

inline constexpr const char* PROP_MIN_FILE_SIZE_TO_CACHE = "tarnkit.cache.filesize.min";
inline constexpr const char* PROP_FORCED_MIN_FILE_SIZE_TO_CACHE =
    "tarnkit.cache.forced.filesize.min";
inline constexpr const char* PROP_PROGRESS_SHOW_FIRST_PAGE = "tarnkit.progress.show.first.page";
inline constexpr const char* PROP_FONT_ANTIALIASING = "font.antialiasing.mode";
inline constexpr const char* PROP_FONT_COLOR = "font.color.default";
inline constexpr const char* PROP_BACKGROUND_COLOR = "background.color.default";
inline constexpr const char* PROP_STATUS_FONT_COLOR = "tarnkit.page.header.font.color";
inline constexpr const char* PROP_AUTOSAVE_BOOKMARKS = "tarnkit.autosave.bookmarks";
inline constexpr const char* PROP_DISPLAY_FULL_UPDATE_INTERVAL =
    "tarnkit.display.full.update.interval";
inline constexpr const char* PROP_DISPLAY_TURBO_UPDATE_MODE = "tarnkit.display.turbo.update";
inline constexpr const char* PROP_FONT_FACE = "font.face.default";
inline constexpr const char* PROP_STATUS_FONT_FACE = "tarnkit.page.header.font.face";
inline constexpr const char* PROP_FALLBACK_FONT_FACE = "tarnkit.font.fallback.face";
inline constexpr const char* PROP_FONT_SIZE = "tarnkit.font.size";
inline constexpr const char* PROP_INTERLINE_SPACE = "tarnkit.interline.space";
inline constexpr const char* PROP_ROTATE_ANGLE = "window.rotate.angle";
inline constexpr const char* PROP_FONT_WEIGHT_EMBOLDEN = "font.face.weight.embolden";
inline constexpr const char* PROP_EMBEDDED_STYLES = "tarnkit.doc.embedded.styles.enabled";
inline constexpr const char* PROP_EMBEDDED_FONTS = "tarnkit.doc.embedded.fonts.enabled";
inline constexpr const char* PROP_FONT_HINTING = "font.hinting.mode";
inline constexpr const char* PROP_LANDSCAPE_PAGES = "window.landscape.pages";
inline constexpr const char* PROP_PAGE_VIEW_MODE = "tarnkit.page.view.mode";
inline constexpr const char* PROP_FOOTNOTES = "tarnkit.footnotes";
inline constexpr const char* PROP_SHOW_TIME = "window.status.clock";
inline constexpr const char* PROP_DISPLAY_INVERSE = "tarnkit.display.inverse";
inline constexpr const char* PROP_BOOKMARK_ICONS = "tarnkit.bookmarks.icons";
inline constexpr const char* PROP_FONT_KERNING_ENABLED = "font.kerning.enabled";
inline constexpr const char* PROP_HIGHLIGHT_COMMENT_BOOKMARKS = "tarnkit.highlight.bookmarks";
inline constexpr const char* PROP_HIGHLIGHT_SELECTION_COLOR = "tarnkit.highlight.selection.color";
inline constexpr const char* PROP_HIGHLIGHT_BOOKMARK_COLOR_COMMENT =
    "tarnkit.highlight.bookmarks.color.comment";
inline constexpr const char* PROP_HIGHLIGHT_BOOKMARK_COLOR_CORRECTION =
    "tarnkit.highlight.bookmarks.color.correction";
inline constexpr const char* PROP_STATUS_LINE = "window.status.line";
inline constexpr const char* PROP_PAGE_MARGIN_TOP = "tarnkit.page.margin.top";
inline constexpr const char* PROP_PAGE_MARGIN_BOTTOM = "tarnkit.page.margin.bottom";
inline constexpr const char* PROP_PAGE_MARGIN_LEFT = "tarnkit.page.margin.left";
inline constexpr const char* PROP_PAGE_MARGIN_RIGHT = "tarnkit.page.margin.right";
inline constexpr const char* PROP_STATUS_FONT_SIZE = "tarnkit.page.header.font.size";
inline constexpr const char* PROP_SHOW_TITLE = "window.status.title";
inline constexpr const char* PROP_SHOW_BATTERY = "window.status.battery";
inline constexpr const char* PROP_SHOW_BATTERY_PERCENT = "window.status.battery.percent";
inline constexpr const char* PROP_SHOW_PAGE_COUNT = "window.status.pos.page.count";
inline constexpr const char* PROP_SHOW_PAGE_NUMBER = "window.status.pos.page.number";
inline constexpr const char* PROP_SHOW_POS_PERCENT = "window.status.pos.percent";
inline constexpr const char* PROP_STATUS_CHAPTER_MARKS = "tarnkit.page.header.chapter.marks";
inline constexpr const char* PROP_FLOATING_PUNCTUATION =
    "tarnkit.style.floating.punctuation.enabled";
inline constexpr const char* PROP_TXT_OPTION_PREFORMATTED = "tarnkit.file.txt.preformatted";
inline constexpr const char* PROP_FONT_GAMMA = "font.gamma";
inline constexpr const char* PROP_IMG_SCALING_ZOOMOUT_BLOCK_SCALE =
    "tarnkit.image.scaling.zoomout.block.scale";
inline constexpr const char* PROP_IMG_SCALING_ZOOMOUT_INLINE_SCALE =
    "tarnkit.image.scaling.zoomout.inline.scale";
inline constexpr const char* PROP_IMG_SCALING_ZOOMIN_BLOCK_SCALE =
    "tarnkit.image.scaling.zoomin.block.scale";
inline constexpr const char* PROP_IMG_SCALING_ZOOMIN_INLINE_SCALE =
    "tarnkit.image.scaling.zoomin.inline.scale";
inline constexpr const char* PROP_IMG_SCALING_ZOOMOUT_BLOCK_MODE =
    "tarnkit.image.scaling.zoomout.block.mode";
inline constexpr const char* PROP_IMG_SCALING_ZOOMOUT_INLINE_MODE =
    "tarnkit.image.scaling.zoomout.inline.mode";
inline constexpr const char* PROP_IMG_SCALING_ZOOMIN_BLOCK_MODE =
    "tarnkit.image.scaling.zoomin.block.mode";
inline constexpr const char* PROP_IMG_SCALING_ZOOMIN_INLINE_MODE =
    "tarnkit.image.scaling.zoomin.inline.mode";
inline constexpr const char* PROP_FORMAT_SPACE_CONDENSING_PERCENT =
    "tarnkit.style.space.condensing.percent";
inline constexpr const char* PROP_FILE_PROPS_FONT_SIZE = "tnv.file.props.font.size";
