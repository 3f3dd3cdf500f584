/* TrueType text for SDL 1.2 on Windows: the part of the SDL_ttf 2.0.11
   interface that the game uses, with the same names, types and behaviour,
   drawn by FreeType. Linux builds use the real library. */
#ifndef VELMORA_SDL_TTF_H
#define VELMORA_SDL_TTF_H

#include "SDL.h"

#define SDL_TTF_MAJOR_VERSION 2
#define SDL_TTF_MINOR_VERSION 0
#define SDL_TTF_PATCHLEVEL 11

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _TTF_Font TTF_Font;

/* 0 on success (also when already initialised), -1 with the reason in
   TTF_GetError() otherwise. Calls nest: TTF_Quit undoes one TTF_Init. */
int TTF_Init(void);
int TTF_WasInit(void);
void TTF_Quit(void);

/* A scalable font at ptsize points (72 dpi, so points are pixels). */
TTF_Font* TTF_OpenFont(const char* file, int ptsize);
void TTF_CloseFont(TTF_Font* font);

/* Latin-1 text as an 8-bit surface: index 0 is the transparent background,
   index 1 the colour fg; NULL with a reason for empty text. */
SDL_Surface* TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg);

#define TTF_SetError SDL_SetError
#define TTF_GetError SDL_GetError

#ifdef __cplusplus
}
#endif

#endif
