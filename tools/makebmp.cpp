// Draws the game's thirteen bitmaps into the directory named on the command line, or with
// --icon SIZE FILE the desktop icon, a SIZE x SIZE PNG.
//
// Sizes, in one place (they set each object's centre and clamp range):
//   black.bmp                  300 x 400  the field, a mid-tone so both colours and their dye show
//   halo_w.bmp, halo_b.bmp      20 x 20   the players' halos; the tinted ball sits in the middle
//   enemy_white/black.bmp       24 x 24   partners
//   ball_w.bmp, ball_b.bmp       8 x 8    plain bullets; ball_w is also the life icon's template
//   ball_wg/bg.bmp              10 x 10   bullets with actions that fire
//   ball_wr/br.bmp              10 x 10   bullets with actions that only steer
//   ball_white/black.bmp         8 x 8    dye stamps
// Transparent pixels are cyan (0,255,255) or magenta (255,0,255), as the game keys them.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
};

const Rgb CYAN{0, 255, 255};
const Rgb MAGENTA{255, 0, 255};
const Rgb WHITE{255, 255, 255};
const Rgb BLACK{0, 0, 0};

using Painter = std::function<Rgb(double dx, double dy)>;

std::string outDir;

void fail(const std::string& what) {
    std::fprintf(stderr, "makebmp: %s\n", what.c_str());
    std::exit(1);
}

// Sprites go through SDL's own BMP writer; the game converts them once at start-up.
void writeSprite(const char* name, int w, int h, const Painter& paint) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000ff, 0x00ff00, 0xff0000, 0);
    if (!s) fail(std::string("cannot create a surface for ") + name);
    SDL_LockSurface(s);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Distances from the middle of the sprite, measured to pixel centres.
            const Rgb c = paint(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0);
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            p[0] = static_cast<Uint8>(c.r);
            p[1] = static_cast<Uint8>(c.g);
            p[2] = static_cast<Uint8>(c.b);
        }
    }
    SDL_UnlockSurface(s);
    const std::string path = outDir + "/" + name;
    if (SDL_SaveBMP(s, path.c_str()) != 0) fail("cannot write " + path);
    SDL_FreeSurface(s);
}

void put16(std::vector<unsigned char>& v, unsigned x) {
    v.push_back(x & 0xff);
    v.push_back((x >> 8) & 0xff);
}
void put32(std::vector<unsigned char>& v, std::uint32_t x) {
    put16(v, x & 0xffff);
    put16(v, x >> 16);
}

// The field is written as 16-bit 5-6-5 with bit-field masks, the display's own format, so
// the per-frame canvas copy is a plain memory copy. SDL's writer would save it as 24-bit.
void writeBackground565(const char* name, int w, int h, const std::function<Rgb(int, int)>& paint) {
    const int rowBytes = (w * 2 + 3) & ~3;
    const std::uint32_t dataOffset = 14 + 40 + 12;
    std::vector<unsigned char> v;
    v.push_back('B');
    v.push_back('M');
    put32(v, dataOffset + static_cast<std::uint32_t>(rowBytes * h));
    put32(v, 0);
    put32(v, dataOffset);
    put32(v, 40);
    put32(v, static_cast<std::uint32_t>(w));
    put32(v, static_cast<std::uint32_t>(h));
    put16(v, 1);
    put16(v, 16);
    put32(v, 3);  // BI_BITFIELDS
    put32(v, static_cast<std::uint32_t>(rowBytes * h));
    put32(v, 2835);
    put32(v, 2835);
    put32(v, 0);
    put32(v, 0);
    put32(v, 0xf800);
    put32(v, 0x07e0);
    put32(v, 0x001f);
    for (int y = h - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < w; ++x, written += 2) {
            const Rgb c = paint(x, y);
            put16(v, static_cast<unsigned>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3)));
        }
        for (; written < rowBytes; ++written) v.push_back(0);
    }
    const std::string path = outDir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(v.data(), 1, v.size(), f) != v.size() || std::fclose(f) != 0)
        fail("cannot write " + path);
}

Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return {static_cast<int>(a.r + (b.r - a.r) * t), static_cast<int>(a.g + (b.g - a.g) * t),
            static_cast<int>(a.b + (b.b - a.b) * t)};
}

// A filled disc of radius r with a rim of another colour, on a transparent key.
Painter disc(double r, Rgb fill, Rgb rim, Rgb key) {
    return [=](double dx, double dy) {
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d > r) return key;
        if (d > r - 1.2) return rim;
        return fill;
    };
}

// A bullet that carries actions: a body, and a coloured ring that tells its kind.
Painter ringed(double r, Rgb body, Rgb ring, Rgb key) {
    return [=](double dx, double dy) {
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d > r) return key;
        if (d > r - 1.5) return ring;
        if (d < 1.6) return ring;
        return body;
    };
}

// A partner: a diamond with a darker or lighter edge and a core.
Painter partner(Rgb body, Rgb edge) {
    return [=](double dx, double dy) {
        const double m = std::fabs(dx) + std::fabs(dy);
        if (m > 11.5) return MAGENTA;
        if (m > 9.5) return edge;
        if (std::fabs(dx) < 2.5 && std::fabs(dy) < 2.5) return edge;
        return body;
    };
}

// The players' halo: a soft ring around the place where the ball goes.
Painter halo(Rgb ring) {
    return [=](double dx, double dy) {
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d > 9.5 || d < 5.5) return CYAN;
        if (d > 8.0) return ring;
        return mix(ring, Rgb{128, 128, 128}, 0.5);
    };
}

void putBe32(std::vector<unsigned char>& v, std::uint32_t x) {
    for (int shift = 24; shift >= 0; shift -= 8) v.push_back((x >> shift) & 0xff);
}

std::uint32_t crc32(const unsigned char* p, std::size_t n) {
    std::uint32_t c = 0xffffffff;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320 & (0 - (c & 1)));
    }
    return ~c;
}

void pngChunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data) {
    putBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBe32(png, crc32(&png[start], png.size() - start));
}

// SDL 1.2 writes only BMP, and the desktop wants PNG. Stored deflate blocks keep the writer
// short: an icon is a few kilobytes either way.
void writePng(const std::string& path, int size, const std::vector<unsigned char>& rgba) {
    std::vector<unsigned char> raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), rgba.begin() + y * size * 4, rgba.begin() + (y + 1) * size * 4);
    }
    std::vector<unsigned char> z{0x78, 0x01};
    for (std::size_t at = 0; at < raw.size(); at += 65535) {
        const unsigned n = static_cast<unsigned>(std::min<std::size_t>(65535, raw.size() - at));
        z.push_back(at + n == raw.size() ? 1 : 0);
        put16(z, n);
        put16(z, ~n & 0xffff);
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    putBe32(z, b << 16 | a);

    std::vector<unsigned char> header;
    putBe32(header, static_cast<std::uint32_t>(size));
    putBe32(header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits a channel, RGBA, no interlace
    std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    pngChunk(png, "IHDR", header);
    pngChunk(png, "IDAT", z);
    pngChunk(png, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(png.data(), 1, png.size(), f) != png.size() || std::fclose(f) != 0)
        fail("cannot write " + path);
}

// The icon, on a unit square: the slate field with a partner of each colour above and a
// player of each colour below, a few bullets of both between. Outside the rounded corners
// it is transparent (alpha 0).
struct Rgba {
    Rgb c;
    double alpha;
};

Rgba iconAt(double u, double v) {
    const double r = 0.16;
    const double cu = std::min(std::max(u, r), 1 - r), cv = std::min(std::max(v, r), 1 - r);
    if (std::hypot(u - cu, v - cv) > r) return {BLACK, 0};
    auto inDisc = [&](double x, double y, double radius) { return std::hypot(u - x, v - y) < radius; };
    auto inDiamond = [&](double x, double y, double radius) {
        return std::fabs(u - x) + std::fabs(v - y) < radius;
    };
    // The same colours as the partners' and the bullets' bitmaps.
    if (inDiamond(0.3, 0.27, 0.17))
        return {inDiamond(0.3, 0.27, 0.12) ? Rgb{240, 240, 240} : Rgb{150, 150, 150}, 1};
    if (inDiamond(0.7, 0.27, 0.17))
        return {inDiamond(0.7, 0.27, 0.12) ? Rgb{20, 20, 20} : Rgb{110, 110, 110}, 1};
    if (inDisc(0.3, 0.8, 0.1)) return {inDisc(0.3, 0.8, 0.075) ? WHITE : Rgb{170, 170, 170}, 1};
    if (inDisc(0.7, 0.8, 0.1)) return {inDisc(0.7, 0.8, 0.075) ? BLACK : Rgb{90, 90, 90}, 1};
    // Each partner's bullets head down toward the other colour's player.
    for (int i = 0; i < 3; ++i) {
        const double y = 0.5 + 0.13 * i, dx = 0.22 * (y - 0.3) + 0.07 * (i - 1);
        if (inDisc(0.3 + dx, y, 0.045)) return {WHITE, 1};
        if (inDisc(0.7 - dx, y, 0.045)) return {BLACK, 1};
    }
    return {Rgb{104, 112, 120}, 1};
}

void writeIcon(int size, const std::string& path) {
    if (size < 16 || size > 512) fail("icon size " + std::to_string(size) + " is not 16 to 512");
    // Four by four samples a pixel smooth the edges, which matter at 32 pixels.
    const int n = 4;
    std::vector<unsigned char> rgba;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, alpha = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const Rgba p = iconAt((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size);
                    r += p.c.r * p.alpha;
                    g += p.c.g * p.alpha;
                    b += p.c.b * p.alpha;
                    alpha += p.alpha;
                }
            }
            // Colours weighted by coverage, so the transparent corners do not darken the rim.
            const double k = alpha > 0 ? 1 / alpha : 0;
            for (double channel : {r * k, g * k, b * k, 255 * alpha / (n * n)})
                rgba.push_back(static_cast<unsigned char>(channel + 0.5));
        }
    }
    writePng(path, size, rgba);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        writeIcon(std::atoi(argv[2]), argv[3]);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: makebmp DIRECTORY, or makebmp --icon SIZE FILE.png\n");
        return 2;
    }
    outDir = argv[1];

    writeBackground565("black.bmp", 300, 400, [](int x, int y) {
        // A quiet slate with a faint grid: light enough for black, dark enough for white.
        Rgb c{104, 112, 120};
        if (x % 25 == 0 || y % 25 == 0) c = {96, 104, 112};
        return c;
    });
    writeSprite("halo_w.bmp", 20, 20, halo(Rgb{230, 230, 230}));
    writeSprite("halo_b.bmp", 20, 20, halo(Rgb{30, 30, 30}));
    writeSprite("ball_w.bmp", 8, 8, disc(4.0, WHITE, Rgb{170, 170, 170}, CYAN));
    writeSprite("ball_b.bmp", 8, 8, disc(4.0, BLACK, Rgb{90, 90, 90}, MAGENTA));
    writeSprite("ball_wg.bmp", 10, 10, ringed(5.0, WHITE, Rgb{40, 170, 60}, MAGENTA));
    writeSprite("ball_bg.bmp", 10, 10, ringed(5.0, BLACK, Rgb{60, 200, 80}, MAGENTA));
    writeSprite("ball_wr.bmp", 10, 10, ringed(5.0, WHITE, Rgb{190, 50, 50}, MAGENTA));
    writeSprite("ball_br.bmp", 10, 10, ringed(5.0, BLACK, Rgb{220, 70, 70}, MAGENTA));
    writeSprite("enemy_white.bmp", 24, 24, partner(Rgb{240, 240, 240}, Rgb{150, 150, 150}));
    writeSprite("enemy_black.bmp", 24, 24, partner(Rgb{20, 20, 20}, Rgb{110, 110, 110}));
    writeSprite("ball_white.bmp", 8, 8, disc(4.0, WHITE, WHITE, MAGENTA));
    writeSprite("ball_black.bmp", 8, 8, disc(4.0, BLACK, BLACK, MAGENTA));
    return 0;
}
