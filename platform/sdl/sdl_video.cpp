// Drawing, textures and screen read-back over the SDL2 software renderer.

#include <SDL_image.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform_common.h"
#include "sdl_platform.h"

using sdlplatform::Platform;

namespace {

// DrawText sends glyph runs to the renderer in batches of this many.
constexpr int TEXT_RECT_BATCH = 256;

SDL_Renderer *ActiveRenderer() {
    return Platform().video.renderer;
}

void SetDrawColor(SDL_Renderer *renderer, Color color) {
    SDL_SetRenderDrawColor(renderer, color.r, color.g, color.b, color.a);
}

SDL_Texture *TextureFromId(unsigned int id) {
    const auto &textures = Platform().video.textures;
    if (id == 0 || id > textures.size()) {
        return nullptr;
    }
    return textures[id - 1];
}

unsigned int StoreTexture(SDL_Texture *texture) {
    auto &textures = Platform().video.textures;
    for (std::size_t slot = 0; slot < textures.size(); ++slot) {
        if (textures[slot] == nullptr) {
            textures[slot] = texture;
            return static_cast<unsigned int>(slot + 1);
        }
    }
    textures.push_back(texture);
    return static_cast<unsigned int>(textures.size());
}

int RoundToInt(float value) {
    return static_cast<int>(std::lround(value));
}

// The frame being drawn as RGBA bytes, in the game's own coordinates (in
// window pixels only if a window manager resized the window afterwards).
SDL_Surface *ReadScreenSurface() {
    SDL_Renderer *renderer = ActiveRenderer();
    if (renderer == nullptr) {
        return nullptr;
    }
    const auto &video = Platform().video;
    int width = video.logicalWidth;
    int height = video.logicalHeight;
    if (video.frameTarget == nullptr && SDL_GetRendererOutputSize(renderer, &width, &height) != 0) {
        return nullptr;
    }
    SDL_Surface *surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        return nullptr;
    }
    const bool logicalScaling = video.frameTarget == nullptr;
    // Read-back works in output pixels: lift the logical scaling meanwhile.
    if (logicalScaling) {
        SDL_RenderSetLogicalSize(renderer, 0, 0);
    }
    const int result = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA32,
                                            surface->pixels, surface->pitch);
    if (logicalScaling) {
        SDL_RenderSetLogicalSize(renderer, video.logicalWidth, video.logicalHeight);
    }
    if (result != 0) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    return surface;
}

}  // namespace

namespace sdlplatform {

// The software renderer scales each rectangle's position and size on its own,
// which leaves hairline gaps between glyph pixels and snake segments on a
// scaled window. Drawing at full size and shrinking the finished frame in one
// smooth copy keeps every shape whole.
void SetUpFrameTarget() {
    auto &video = Platform().video;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(video.renderer, &outputWidth, &outputHeight);
    if (outputWidth == video.logicalWidth && outputHeight == video.logicalHeight) {
        SDL_RenderSetLogicalSize(video.renderer, video.logicalWidth, video.logicalHeight);
        return;
    }
    video.frameTarget =
        SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                          video.logicalWidth, video.logicalHeight);
    if (video.frameTarget == nullptr ||
        SDL_SetRenderTarget(video.renderer, video.frameTarget) != 0) {
        // Still playable: let SDL scale each drawing call instead.
        if (video.frameTarget != nullptr) {
            SDL_DestroyTexture(video.frameTarget);
            video.frameTarget = nullptr;
        }
        SDL_RenderSetLogicalSize(video.renderer, video.logicalWidth, video.logicalHeight);
        return;
    }
    SDL_SetTextureScaleMode(video.frameTarget, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(video.frameTarget, SDL_BLENDMODE_NONE);
}

void PresentFrame() {
    auto &video = Platform().video;
    if (video.frameTarget == nullptr) {
        SDL_RenderPresent(video.renderer);
        return;
    }
    SDL_SetRenderTarget(video.renderer, nullptr);
    SDL_RenderCopy(video.renderer, video.frameTarget, nullptr, nullptr);
    SDL_RenderPresent(video.renderer);
    SDL_SetRenderTarget(video.renderer, video.frameTarget);
    SDL_SetRenderDrawBlendMode(video.renderer, SDL_BLENDMODE_BLEND);
}

void DestroyAllTextures() {
    for (SDL_Texture *texture : Platform().video.textures) {
        if (texture != nullptr) {
            SDL_DestroyTexture(texture);
        }
    }
    Platform().video.textures.clear();
}

}  // namespace sdlplatform

void ClearBackground(Color color) {
    SDL_Renderer *renderer = ActiveRenderer();
    if (renderer == nullptr) {
        return;
    }
    SetDrawColor(renderer, color);
    SDL_RenderClear(renderer);
}

void DrawRectangleRec(Rectangle rec, Color color) {
    SDL_Renderer *renderer = ActiveRenderer();
    if (renderer == nullptr) {
        return;
    }
    SetDrawColor(renderer, color);
    const SDL_FRect rect{rec.x, rec.y, rec.width, rec.height};
    SDL_RenderFillRectF(renderer, &rect);
}

void DrawRectangleV(Vector2 position, Vector2 size, Color color) {
    DrawRectangleRec(Rectangle{position.x, position.y, size.x, size.y}, color);
}

// The source part of the texture stretched over dest, turned by rotation
// degrees about origin (measured from dest's top-left corner). A negative
// source width or height mirrors the picture, as in raylib.
void DrawTexturePro(Texture2D texture, Rectangle source, Rectangle dest, Vector2 origin,
                    float rotation, Color tint) {
    SDL_Renderer *renderer = ActiveRenderer();
    SDL_Texture *sdlTexture = TextureFromId(texture.id);
    if (renderer == nullptr || sdlTexture == nullptr) {
        return;
    }
    int flip = SDL_FLIP_NONE;
    if (source.width < 0) {
        flip |= SDL_FLIP_HORIZONTAL;
        source.width = -source.width;
    }
    if (source.height < 0) {
        flip |= SDL_FLIP_VERTICAL;
        source.height = -source.height;
    }
    const SDL_Rect sourceRect{RoundToInt(source.x), RoundToInt(source.y), RoundToInt(source.width),
                              RoundToInt(source.height)};
    const SDL_FRect destRect{dest.x - origin.x, dest.y - origin.y, dest.width, dest.height};
    SDL_SetTextureColorMod(sdlTexture, tint.r, tint.g, tint.b);
    SDL_SetTextureAlphaMod(sdlTexture, tint.a);
    if (rotation == 0.0f && flip == SDL_FLIP_NONE) {
        SDL_RenderCopyF(renderer, sdlTexture, &sourceRect, &destRect);
        return;
    }
    const SDL_FPoint center{origin.x, origin.y};
    SDL_RenderCopyExF(renderer, sdlTexture, &sourceRect, &destRect, rotation, &center,
                      static_cast<SDL_RendererFlip>(flip));
}

void DrawText(const char *text, int posX, int posY, int fontSize, Color color) {
    SDL_Renderer *renderer = ActiveRenderer();
    if (renderer == nullptr || text == nullptr) {
        return;
    }
    SetDrawColor(renderer, color);
    SDL_Rect batch[TEXT_RECT_BATCH];
    int batched = 0;
    ForEachTextInkRect(text, posX, posY, fontSize, [&](int x, int y, int width, int height) {
        batch[batched++] = SDL_Rect{x, y, width, height};
        if (batched == TEXT_RECT_BATCH) {
            SDL_RenderFillRects(renderer, batch, batched);
            batched = 0;
        }
    });
    if (batched > 0) {
        SDL_RenderFillRects(renderer, batch, batched);
    }
}

Texture2D LoadTexture(const char *fileName) {
    Texture2D texture{};
    SDL_Renderer *renderer = ActiveRenderer();
    if (renderer == nullptr || fileName == nullptr) {
        return texture;
    }
    SDL_Texture *sdlTexture = IMG_LoadTexture(renderer, fileName);
    if (sdlTexture == nullptr) {
        SDL_Log("LoadTexture %s: %s", fileName, SDL_GetError());
        return texture;
    }
    // Pixel art stays crisp when stretched.
    SDL_SetTextureScaleMode(sdlTexture, SDL_ScaleModeNearest);
    Uint32 format = 0;
    SDL_QueryTexture(sdlTexture, &format, nullptr, &texture.width, &texture.height);
    // Opaque pictures (the level maps) are copied, not blended: the software
    // renderer's blending path costs several times more per pixel.
    SDL_SetTextureBlendMode(
        sdlTexture, SDL_ISPIXELFORMAT_ALPHA(format) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    texture.id = StoreTexture(sdlTexture);
    texture.mipmaps = 1;
    texture.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    return texture;
}

void UnloadTexture(Texture2D texture) {
    SDL_Texture *sdlTexture = TextureFromId(texture.id);
    if (sdlTexture == nullptr) {
        return;
    }
    SDL_DestroyTexture(sdlTexture);
    Platform().video.textures[texture.id - 1] = nullptr;
}

Image LoadImageFromScreen(void) {
    Image image{};
    SDL_Surface *surface = ReadScreenSurface();
    if (surface == nullptr) {
        return image;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(surface->w) * 4;
    auto *pixels = static_cast<unsigned char *>(std::malloc(rowBytes * surface->h));
    if (pixels != nullptr) {
        for (int row = 0; row < surface->h; ++row) {
            std::memcpy(pixels + rowBytes * row,
                        static_cast<const unsigned char *>(surface->pixels) + surface->pitch * row,
                        rowBytes);
        }
        image.data = pixels;
        image.width = surface->w;
        image.height = surface->h;
        image.mipmaps = 1;
        image.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    }
    SDL_FreeSurface(surface);
    return image;
}

void UnloadImage(Image image) {
    std::free(image.data);
}

void TakeScreenshot(const char *fileName) {
    if (fileName == nullptr) {
        return;
    }
    SDL_Surface *surface = ReadScreenSurface();
    if (surface == nullptr) {
        return;
    }
    if (IMG_SavePNG(surface, fileName) != 0) {
        SDL_Log("TakeScreenshot %s: %s", fileName, SDL_GetError());
    }
    SDL_FreeSurface(surface);
}
