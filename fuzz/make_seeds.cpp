// Writes the fuzzers' seed corpora: small valid pictures of every layout the decoders
// handle, made with libpng, libtiff and libjpeg (TGA byte by byte), and pictures that name
// their density for the density readers.
// Usage: make_seeds FOLDER  (writes FOLDER/tga, FOLDER/png, FOLDER/tiff, FOLDER/jpeg,
// FOLDER/density)
#include <png.h>
#include <sys/stat.h>
#include <tiffio.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

/* jpeglib.h needs size_t and FILE declared first */
#include <jpeglib.h>

namespace {

using bytes = std::vector<uint8_t>;

constexpr int seed_width = 7;
constexpr int seed_height = 5;

uint8_t sample(int x, int y, int channel) { return uint8_t(x * 37 + y * 53 + channel * 91); }

bool write_file(const std::string& path, const bytes& data) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = fwrite(data.data(), 1, data.size(), file) == data.size();
    return fclose(file) == 0 && written;
}

// ---- TGA ---------------------------------------------------------------------------------

bytes tga_header(uint8_t type, uint8_t depth, uint8_t descriptor) {
    return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, seed_width, 0, seed_height, 0, depth, descriptor};
}

void append_tga_pixel(bytes& out, int x, int y, int depth) {
    for (int i = 0; i < depth / 8; ++i) out.push_back(sample(x, y, i));
}

bytes tga_raw(uint8_t depth, uint8_t descriptor) {
    bytes out = tga_header(2, depth, descriptor);
    for (int y = 0; y < seed_height; ++y) {
        for (int x = 0; x < seed_width; ++x) append_tga_pixel(out, x, y, depth);
    }
    return out;
}

// Runs of three equal pixels alternating with two-pixel raw packets.
bytes tga_run_length(uint8_t depth, uint8_t descriptor) {
    bytes out = tga_header(10, depth, descriptor);
    for (int at = 0, total = seed_width * seed_height; at < total;) {
        int count = at % 5 == 0 ? 3 : 2;
        if (count > total - at) count = total - at;
        bool run = count == 3;
        out.push_back(uint8_t((run ? 0x80 : 0x00) | (count - 1)));
        for (int i = 0; i < (run ? 1 : count); ++i) append_tga_pixel(out, (at + i) % seed_width, at / seed_width, depth);
        at += count;
    }
    return out;
}

bool make_tga(const std::string& folder) {
    bool ok = true;
    for (uint8_t depth : {16, 24, 32}) {
        for (uint8_t descriptor : {0x00, 0x20, 0x30}) {
            std::string tag = std::to_string(depth) + "_" + std::to_string(descriptor);
            ok &= write_file(folder + "/raw_" + tag + ".tga", tga_raw(depth, descriptor));
            ok &= write_file(folder + "/rle_" + tag + ".tga", tga_run_length(depth, descriptor));
        }
    }
    return ok;
}

// ---- PNG ---------------------------------------------------------------------------------

struct png_layout {
    const char* name;
    int colour_type;
    int bit_depth;
    int interlace;
    bool transparency;
    bool density = false;  // 300 pixels per inch in pHYs
};

void append_png_bytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush_nothing(png_structp) {}

int png_channels(int colour_type) {
    switch (colour_type) {
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        default: return 1;
    }
}

bytes png_row(const png_layout& layout, int y) {
    int channels = png_channels(layout.colour_type);
    int samples_per_byte = layout.bit_depth < 8 ? 8 / layout.bit_depth : 1;
    int sample_bytes = layout.bit_depth == 16 ? 2 : 1;
    bytes row(size_t(seed_width * channels * sample_bytes / samples_per_byte + 1), 0);
    for (size_t i = 0; i < row.size(); ++i) row[i] = sample(int(i), y, 0);
    return row;
}

constexpr int seed_dpi = 300;
constexpr double mm_per_inch = 25.4;

void set_png_extras(png_structp png, png_infop info, const png_layout& layout) {
    const auto per_metre = png_uint_32(seed_dpi * 1000 / mm_per_inch + 0.5);
    if (layout.density) png_set_pHYs(png, info, per_metre, per_metre, PNG_RESOLUTION_METER);
    if (layout.colour_type == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[256];
        int entries = 1 << layout.bit_depth;
        for (int i = 0; i < entries; ++i) palette[i] = {sample(i, 0, 0), sample(i, 1, 1), sample(i, 2, 2)};
        png_set_PLTE(png, info, palette, entries);
    }
    if (!layout.transparency) return;
    png_byte alpha[4] = {0, 128, 200, 255};
    png_color_16 colour{};
    colour.gray = 1;
    colour.red = colour.green = colour.blue = 7;
    png_set_tRNS(png, info, alpha, 4, &colour);
}

bytes encode_png(const png_layout& layout) {
    bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, append_png_bytes, flush_nothing);
    png_set_IHDR(png, info, seed_width, seed_height, layout.bit_depth, layout.colour_type, layout.interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    set_png_extras(png, info, layout);
    png_write_info(png, info);
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < seed_height; ++y) {
            bytes row = png_row(layout, y);
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool make_png(const std::string& folder) {
    const png_layout layouts[] = {
        {"rgb8", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE, false},
        {"rgb16_trns", PNG_COLOR_TYPE_RGB, 16, PNG_INTERLACE_NONE, true},
        {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false},
        {"rgba16_adam7", PNG_COLOR_TYPE_RGB_ALPHA, 16, PNG_INTERLACE_ADAM7, false},
        {"palette4_trns", PNG_COLOR_TYPE_PALETTE, 4, PNG_INTERLACE_NONE, true},
        {"palette8_adam7", PNG_COLOR_TYPE_PALETTE, 8, PNG_INTERLACE_ADAM7, false},
        {"grey1", PNG_COLOR_TYPE_GRAY, 1, PNG_INTERLACE_NONE, false},
        {"grey2_trns", PNG_COLOR_TYPE_GRAY, 2, PNG_INTERLACE_NONE, true},
        {"grey4_adam7", PNG_COLOR_TYPE_GRAY, 4, PNG_INTERLACE_ADAM7, false},
        {"grey16", PNG_COLOR_TYPE_GRAY, 16, PNG_INTERLACE_NONE, true},
        {"grey_alpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, PNG_INTERLACE_ADAM7, false},
    };
    bool ok = true;
    for (const png_layout& layout : layouts) {
        bytes data = encode_png(layout);
        ok &= !data.empty() && write_file(folder + "/" + layout.name + ".png", data);
    }
    return ok;
}

// ---- TIFF --------------------------------------------------------------------------------

struct tiff_layout {
    const char* name;
    uint16_t compression;
    uint16_t photometric;
    uint16_t samples;
    uint16_t bits;
    uint16_t extra;  // EXTRASAMPLE_* for a fourth sample, 0 for none
    bool tiled;
};

void set_tiff_palette(TIFF* tif, uint16_t bits) {
    std::vector<uint16_t> red(size_t(1) << bits), green(red.size()), blue(red.size());
    for (size_t i = 0; i < red.size(); ++i) {
        red[i] = uint16_t(i * 4099);
        green[i] = uint16_t(65535 - i * 257);
        blue[i] = uint16_t(i * 13000);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
}

void set_tiff_fields(TIFF* tif, const tiff_layout& layout) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, seed_width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, seed_height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, layout.samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, layout.bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, layout.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (layout.extra) {
        uint16_t extra = layout.extra;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (layout.photometric == PHOTOMETRIC_PALETTE) set_tiff_palette(tif, layout.bits);
    if (layout.tiled) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
    } else {
        /* several strips, except that JPEG strips must be whole 8-row blocks */
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, layout.compression == COMPRESSION_JPEG ? 8 : 2);
    }
}

bytes tiff_scanline(TIFF* tif, int y) {
    bytes line(size_t(TIFFScanlineSize(tif)));
    for (size_t i = 0; i < line.size(); ++i) line[i] = sample(int(i), y, 1);
    return line;
}

bool write_tiff_tile(TIFF* tif) {
    bytes tile(size_t(TIFFTileSize(tif)));
    for (size_t i = 0; i < tile.size(); ++i) tile[i] = sample(int(i % 61), int(i / 61), 2);
    return TIFFWriteEncodedTile(tif, 0, tile.data(), tmsize_t(tile.size())) >= 0;
}

// `mode` "wb" writes a big-endian file; `dpi` names a density where it is not 0.
bool make_tiff_file(const std::string& path, const tiff_layout& layout, const char* mode = "w", int dpi = 0) {
    TIFF* tif = TIFFOpen(path.c_str(), mode);
    if (!tif) return false;
    set_tiff_fields(tif, layout);
    if (dpi) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(dpi));
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(dpi));
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    bool ok = true;
    if (layout.tiled) {
        ok = write_tiff_tile(tif);
    } else {
        for (int y = 0; y < seed_height && ok; ++y) {
            bytes line = tiff_scanline(tif, y);
            ok = TIFFWriteScanline(tif, line.data(), uint32_t(y), 0) >= 0;
        }
    }
    TIFFClose(tif);
    return ok;
}

bool make_tiff(const std::string& folder) {
    const tiff_layout layouts[] = {
        {"rgb", COMPRESSION_NONE, PHOTOMETRIC_RGB, 3, 8, 0, false},
        {"rgb_lzw", COMPRESSION_LZW, PHOTOMETRIC_RGB, 3, 8, 0, false},
        {"rgb_deflate_tiled", COMPRESSION_ADOBE_DEFLATE, PHOTOMETRIC_RGB, 3, 8, 0, true},
        {"rgb16_packbits", COMPRESSION_PACKBITS, PHOTOMETRIC_RGB, 3, 16, 0, false},
        {"rgba_unassoc", COMPRESSION_NONE, PHOTOMETRIC_RGB, 4, 8, EXTRASAMPLE_UNASSALPHA, false},
        {"rgba_assoc_lzw", COMPRESSION_LZW, PHOTOMETRIC_RGB, 4, 8, EXTRASAMPLE_ASSOCALPHA, false},
        {"grey8", COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 1, 8, 0, false},
        {"grey1_ccitt", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, 1, 1, 0, false},
        {"grey4_tiled", COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 1, 4, 0, true},
        {"palette8", COMPRESSION_PACKBITS, PHOTOMETRIC_PALETTE, 1, 8, 0, false},
        {"cmyk", COMPRESSION_NONE, PHOTOMETRIC_SEPARATED, 4, 8, 0, false},
        {"rgb_jpeg", COMPRESSION_JPEG, PHOTOMETRIC_RGB, 3, 8, 0, false},
    };
    bool ok = true;
    for (const tiff_layout& layout : layouts) {
        if (!TIFFIsCODECConfigured(layout.compression)) continue;
        ok &= make_tiff_file(folder + "/" + layout.name + ".tif", layout);
    }
    return ok;
}

// ---- JPEG --------------------------------------------------------------------------------

bool make_jpeg_file(const std::string& path, bool colour, bool progressive, int dpi = 0) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct jpeg{};
    jpeg_error_mgr errors{};
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file);
    jpeg.image_width = 2 * seed_width;
    jpeg.image_height = 3 * seed_height;
    jpeg.input_components = colour ? 3 : 1;
    jpeg.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 75, TRUE);
    if (dpi) {
        jpeg.density_unit = 1;
        jpeg.X_density = jpeg.Y_density = UINT16(dpi);
    }
    if (progressive) jpeg_simple_progression(&jpeg);
    jpeg_start_compress(&jpeg, TRUE);
    bytes row(size_t(jpeg.image_width) * size_t(jpeg.input_components));
    while (jpeg.next_scanline < jpeg.image_height) {
        for (size_t i = 0; i < row.size(); ++i) row[i] = sample(int(i), int(jpeg.next_scanline), 0);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    return fclose(file) == 0;
}

bool make_jpeg(const std::string& folder) {
    return make_jpeg_file(folder + "/colour.jpg", true, false) &&
           make_jpeg_file(folder + "/grey.jpg", false, false) &&
           make_jpeg_file(folder + "/progressive.jpg", true, true);
}

// ---- density ------------------------------------------------------------------------------

// One picture of each kind naming 300 pixels per inch, and the chunk length that once kept the
// PNG walk from ending.
bool make_density(const std::string& folder) {
    const tiff_layout rgb = {"rgb", COMPRESSION_NONE, PHOTOMETRIC_RGB, 3, 8, 0, false};
    const bytes endless_png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0xFF, 0xFF, 0xFF, 0xF4, 't', 'E', 'X', 't', 0, 0, 0, 0};
    const bytes png = encode_png({"rgb8", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE, false, true});
    return make_jpeg_file(folder + "/jfif.jpg", true, false, seed_dpi) && !png.empty() &&
           write_file(folder + "/phys.png", png) && write_file(folder + "/wrapping_length.png", endless_png) &&
           make_tiff_file(folder + "/intel.tif", rgb, "w", seed_dpi) &&
           make_tiff_file(folder + "/motorola.tif", rgb, "wb", seed_dpi);
}

bool make_folder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }

}  // namespace

// Tables as spreadsheets save them: a BOM and semicolons, quotes around separators and line
// breaks, Windows-1252, a short row.
bool make_catalogue(const std::string& folder) {
    const char* const tables[] = {
        "\xEF\xBB\xBFsku;gtin;sheet;width_mm;outputs\r\na;4006381333931;s.png;135,5;main set\r\n\r\n",
        "asin,isbn,front,back\n\"B00,\"\"X\"\"\",978-3-16-148410-0,\"a\nb.jpg\",\nM\xFChle\n",
        "gtin;project\n96385074;p.tessaryn\n12345678901;\n",
    };
    int number = 0;
    for (const char* table : tables)
        if (!write_file(folder + "/table" + std::to_string(number++) + ".csv", bytes(table, table + strlen(table)))) return false;
    return true;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::string root = argv[1];
    bool ok = make_folder(root);
    for (const char* format : {"tga", "png", "tiff", "jpeg", "density", "catalogue"}) ok &= make_folder(root + "/" + format);
    TIFFSetWarningHandler(nullptr);
    ok = ok && make_tga(root + "/tga") && make_png(root + "/png") && make_tiff(root + "/tiff") &&
         make_jpeg(root + "/jpeg") && make_density(root + "/density") && make_catalogue(root + "/catalogue");
    if (!ok) fprintf(stderr, "make_seeds: could not write every seed into %s\n", root.c_str());
    return ok ? 0 : 1;
}
