/* SDL 1.2 for the browser build: the toolchain's SDL headers, which the web
   platform files implement, plus the one call of the game they leave
   undeclared. Only the web build puts this folder on its include path. */
#ifndef VELMORA_WEB_SDL_H
#define VELMORA_WEB_SDL_H

#include_next <SDL.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The held state of every key, indexed by key; *numkeys (if given) is set to
   how many keys the array holds. */
extern DECLSPEC Uint8 *SDLCALL SDL_GetKeyState(int *numkeys);

#ifdef __cplusplus
}
#endif

#endif
