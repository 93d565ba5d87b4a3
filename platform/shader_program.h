// A small shader runtime on GLSL: one context linking a vertex and a fragment program read from
// source files, named parameters, uniform setters, texture parameters bound to their own texture
// units, and enabling per stage. Failures are reported once on the console; afterwards every call
// on a broken context does nothing, so the caller draws with the fixed-function pipeline instead.
#pragma once

enum ShaderStage { SHADER_VERTEX = 0, SHADER_FRAGMENT = 1 };

const int SHADER_MAX_PARAMETERS = 32;

// One named parameter: a uniform of the linked program, or an input the fixed pipeline feeds.
struct ShaderParameter {
    char name[32];
    int location;         // -1 when the program doesn't use it (setting it then does nothing)
    unsigned int type;    // GL type of a uniform (GL_FLOAT_VEC3, GL_SAMPLER_CUBE, ...); 0 otherwise
    int textureUnit;      // samplers only: their own unit, 1 and up (unit 0 stays the scene's)
    unsigned int texture; // samplers only: the texture given by setShaderTextureParameter
};

struct ShaderContext {
    unsigned int shaders[2]; // compiled stage objects, 0 until compiled
    unsigned int program;    // the linked program, 0 until both stages are loaded and linked
    bool failed;             // a compile or link error was reported
    bool enabled[2];         // stage profiles enabled
    bool bound[2];           // stage programs bound
    ShaderParameter parameters[SHADER_MAX_PARAMETERS];
    int parameterCount;
    int nextTextureUnit;
};

typedef int ShaderParameterHandle; // index into the context's parameters, or -1

// Prepares an empty context.
void createShaderContext(ShaderContext* context);
// Reads and compiles one stage from a file; 'entry' is the name of its entry function, which the
// source writes in place of main. Returns false after printing the file name and the compile log.
bool createShaderProgramFromFile(ShaderContext* context, ShaderStage stage, const char* fileName,
                                 const char* entry);
// Links once both stages have compiled; prints the link log once on failure.
bool loadShaderProgram(ShaderContext* context, ShaderStage stage);
// Finds a parameter by name, on the linked program (either stage); -1 when the context is broken.
ShaderParameterHandle getNamedShaderParameter(ShaderContext* context, const char* name);

// The program is in use while both stages are enabled and bound.
void enableShaderProfile(ShaderContext* context, ShaderStage stage);
void bindShaderProgram(ShaderContext* context, ShaderStage stage);
void disableShaderProfile(ShaderContext* context, ShaderStage stage);
bool shaderProgramInUse(const ShaderContext* context);

// Inputs that the immediate-mode vertex, normal and texture-coordinate calls feed; nothing to do.
void enableShaderClientState(ShaderContext* context, ShaderParameterHandle parameter);

// Setters act on the program in use.
void setShaderParameter1f(ShaderContext* context, ShaderParameterHandle parameter, float value);
void setShaderParameter2fv(ShaderContext* context, ShaderParameterHandle parameter, const float* values);
void setShaderParameter3fv(ShaderContext* context, ShaderParameterHandle parameter, const float* values);
void setShaderMatrixParameterRowMajor(ShaderContext* context, ShaderParameterHandle parameter,
                                      const float* m);
// The current GL projection matrix times the current modelview matrix.
void setShaderModelViewProjection(ShaderContext* context, ShaderParameterHandle parameter);
// Remembers the texture of a sampler; enableShaderTextureParameter binds it to the sampler's unit.
void setShaderTextureParameter(ShaderContext* context, ShaderParameterHandle parameter, unsigned int texture);
void enableShaderTextureParameter(ShaderContext* context, ShaderParameterHandle parameter);

// Source text with the entry function renamed to main (after any #version line); the result is
// written into 'out' (capacity 'outSize'); false when it doesn't fit. No GL.
bool prepareShaderSource(const char* source, const char* entry, char* out, unsigned long outSize);
