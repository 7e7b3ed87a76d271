/* dllmain: the engine's process-wide settings and the per-thread last-error text.
 *
 * Every engine call that fails returns a non-zero status (or a failure key) and leaves a message
 * that GetLastErrMsg reads back on the same thread. Messages of one thread never overwrite those of
 * another, so worker threads may fail independently.
 */
#ifndef ENGINE_DLLMAIN_H
#define ENGINE_DLLMAIN_H

#include <stdint.h>

#include "engine/export.h"

ENGINE_EXTERN_C_BEGIN

/* Key modes: how the memory libraries (tle, sensor, obs, extephem) issue keys. */
#define KEYMODE_NODUP 0 /* a record equal to one already held is refused */
#define KEYMODE_DMA 1   /* direct memory access: every add gets a fresh key */

/* Copies the calling thread's last error message into lastErrMsg, which must hold ENGINE_TEXT_BUF
 * bytes. The text is cut at ENGINE_TEXT_LEN bytes and always NUL-terminated; the rest of the
 * buffer is left as it was. An empty text means no error was recorded on this thread. */
ENGINE_API void GetLastErrMsg(char* lastErrMsg);

/* Records msg (NUL-terminated, cut at ENGINE_TEXT_LEN bytes) as the calling thread's last error
 * message. Used by the other engine libraries; a null msg clears the message. */
ENGINE_API void SetLastErrMsg(const char* msg);

/* Sets the key mode of every memory library. Returns 0, or non-zero with a message when keyMode is
 * neither KEYMODE_NODUP nor KEYMODE_DMA (the mode in force is then unchanged). */
ENGINE_API int SetAllKeyMode(int keyMode);

/* The key mode in force; KEYMODE_NODUP until SetAllKeyMode changes it. */
ENGINE_API int GetAllKeyMode(void);

/* Log records: the engine reports notable events (a file loaded, a table used outside its range)
 * to one process-wide sink. Levels follow Python's logging: 10 debug, 20 info, 30 warning,
 * 40 error. The sink may be called from any thread; a null sink drops the records. */
typedef void (*EngineLogSink)(int level, const char* message);
ENGINE_API void SetLogSink(EngineLogSink sink);
/* Hands one record to the sink, if any. */
ENGINE_API void EngineLog(int level, const char* message);

ENGINE_EXTERN_C_END

#endif
