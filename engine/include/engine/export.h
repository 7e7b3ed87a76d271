/* Export macro shared by the engine's C headers. */
#ifndef ENGINE_EXPORT_H
#define ENGINE_EXPORT_H

#if defined(ENGINE_BUILDING)
#define ENGINE_API __attribute__((visibility("default")))
#else
#define ENGINE_API
#endif

#ifdef __cplusplus
#define ENGINE_EXTERN_C_BEGIN extern "C" {
#define ENGINE_EXTERN_C_END }
#else
#define ENGINE_EXTERN_C_BEGIN
#define ENGINE_EXTERN_C_END
#endif

/* Text buffers crossing the C surface hold at most 512 bytes of text plus the terminating NUL. */
#define ENGINE_TEXT_LEN 512
#define ENGINE_TEXT_BUF (ENGINE_TEXT_LEN + 1)

#endif
