// The shader runtime on GLSL through libepoxy. Both stages live in one linked program; a parameter
// is looked up by name among the program's uniforms, samplers get texture units of their own.
#include "platform/shader_program.h"

#include "base/vecmath.h"

#include <epoxy/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* const stageNames[2] = {"vertex", "fragment"};

void createShaderContext(ShaderContext* context) {
    std::memset(context, 0, sizeof *context);
    context->nextTextureUnit = 1;
}

bool prepareShaderSource(const char* source, const char* entry, char* out, unsigned long outSize) {
    const char* body = source;
    unsigned long versionLength = 0;
    // A #version line must stay the first thing the compiler sees.
    const char* version = std::strstr(source, "#version");
    if (version) {
        const char* lineEnd = std::strchr(version, '\n');
        body = lineEnd ? lineEnd + 1 : version + std::strlen(version);
        versionLength = static_cast<unsigned long>(body - source);
    }
    int written = std::snprintf(out, outSize, "%.*s%s#define %s main\n%s", static_cast<int>(versionLength),
                                source, (versionLength > 0 && body[-1] != '\n') ? "\n" : "", entry, body);
    return written >= 0 && static_cast<unsigned long>(written) < outSize;
}

static char* readWholeFile(const char* fileName) {
    FILE* file = std::fopen(fileName, "rb");
    if (!file) return nullptr;
    std::fseek(file, 0, SEEK_END);
    long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    char* text = length >= 0 ? static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1)) : nullptr;
    if (text) {
        size_t got = std::fread(text, 1, static_cast<size_t>(length), file);
        text[got] = '\0';
    }
    std::fclose(file);
    return text;
}

bool createShaderProgramFromFile(ShaderContext* context, ShaderStage stage, const char* fileName,
                                 const char* entry) {
    if (context->failed) return false;
    char* source = readWholeFile(fileName);
    if (!source) {
        std::printf("%s: can't read the %s program; the water is drawn without shading\n", fileName,
                    stageNames[stage]);
        context->failed = true;
        return false;
    }
    unsigned long size = std::strlen(source) + std::strlen(entry) + 32;
    char* prepared = static_cast<char*>(std::malloc(size));
    if (!prepared || !prepareShaderSource(source, entry, prepared, size)) {
        std::printf("%s: out of memory\n", fileName);
        std::free(source);
        std::free(prepared);
        context->failed = true;
        return false;
    }
    std::free(source);
    GLuint shader = glCreateShader(stage == SHADER_VERTEX ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const GLchar* text = prepared;
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    std::free(prepared);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[4096];
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::printf("%s: the %s program does not compile; the water is drawn without shading:\n%s\n",
                    fileName, stageNames[stage], log);
        glDeleteShader(shader);
        context->failed = true;
        return false;
    }
    context->shaders[stage] = shader;
    return true;
}

bool loadShaderProgram(ShaderContext* context, ShaderStage) {
    if (context->failed) return false;
    if (context->program != 0) return true;
    // The first stage waits for the second; the pair links as one program.
    if (context->shaders[SHADER_VERTEX] == 0 || context->shaders[SHADER_FRAGMENT] == 0) return true;
    GLuint program = glCreateProgram();
    glAttachShader(program, context->shaders[SHADER_VERTEX]);
    glAttachShader(program, context->shaders[SHADER_FRAGMENT]);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[4096];
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::printf("the water programs do not link; the water is drawn without shading:\n%s\n", log);
        glDeleteProgram(program);
        context->failed = true;
        return false;
    }
    context->program = program;
    return true;
}

ShaderParameterHandle getNamedShaderParameter(ShaderContext* context, const char* name) {
    if (context->failed || context->program == 0) return -1;
    for (int i = 0; i < context->parameterCount; ++i)
        if (std::strcmp(context->parameters[i].name, name) == 0) return i;
    if (context->parameterCount == SHADER_MAX_PARAMETERS) return -1;
    ShaderParameter* parameter = &context->parameters[context->parameterCount];
    std::memset(parameter, 0, sizeof *parameter);
    std::snprintf(parameter->name, sizeof parameter->name, "%s", name);
    parameter->location = glGetUniformLocation(context->program, name);
    parameter->textureUnit = -1;
    GLint uniforms = 0;
    glGetProgramiv(context->program, GL_ACTIVE_UNIFORMS, &uniforms);
    for (GLint u = 0; u < uniforms; ++u) {
        char uniformName[64];
        GLint arraySize = 0;
        GLenum type = 0;
        glGetActiveUniform(context->program, static_cast<GLuint>(u), sizeof uniformName, nullptr, &arraySize,
                           &type, uniformName);
        if (std::strcmp(uniformName, name) == 0) parameter->type = type;
    }
    if (parameter->type == GL_SAMPLER_2D || parameter->type == GL_SAMPLER_CUBE)
        parameter->textureUnit = context->nextTextureUnit++;
    return context->parameterCount++;
}

static ShaderParameter* parameterOf(ShaderContext* context, ShaderParameterHandle handle) {
    if (context->failed || handle < 0 || handle >= context->parameterCount) return nullptr;
    return &context->parameters[handle];
}

bool shaderProgramInUse(const ShaderContext* context) {
    return !context->failed && context->program != 0 && context->enabled[0] && context->enabled[1] &&
           context->bound[0] && context->bound[1];
}

static void updateProgramInUse(ShaderContext* context) {
    if (context->failed || context->program == 0) return;
    glUseProgram(shaderProgramInUse(context) ? context->program : 0);
}

void enableShaderProfile(ShaderContext* context, ShaderStage stage) {
    context->enabled[stage] = true;
    updateProgramInUse(context);
}

void bindShaderProgram(ShaderContext* context, ShaderStage stage) {
    context->bound[stage] = true;
    updateProgramInUse(context);
}

void disableShaderProfile(ShaderContext* context, ShaderStage stage) {
    bool wasInUse = shaderProgramInUse(context);
    context->enabled[stage] = false;
    if (wasInUse) updateProgramInUse(context);
}

void enableShaderClientState(ShaderContext*, ShaderParameterHandle) {}

void setShaderParameter1f(ShaderContext* context, ShaderParameterHandle handle, float value) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (parameter && parameter->location >= 0) glUniform1f(parameter->location, value);
}

void setShaderParameter2fv(ShaderContext* context, ShaderParameterHandle handle, const float* values) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (parameter && parameter->location >= 0) glUniform2fv(parameter->location, 1, values);
}

void setShaderParameter3fv(ShaderContext* context, ShaderParameterHandle handle, const float* values) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (parameter && parameter->location >= 0) glUniform3fv(parameter->location, 1, values);
}

void setShaderMatrixParameterRowMajor(ShaderContext* context, ShaderParameterHandle handle, const float* m) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (parameter && parameter->location >= 0) glUniformMatrix4fv(parameter->location, 1, GL_TRUE, m);
}

void setShaderModelViewProjection(ShaderContext* context, ShaderParameterHandle handle) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (!parameter || parameter->location < 0) return;
    GLfloat product[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, product);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // GL's column-major arrays read as row-major are the transposes, so the row-major product
    // modelView * projection is the column-major projection * modelView.
    multiplyMatrixf(product, projection);
    glUniformMatrix4fv(parameter->location, 1, GL_FALSE, product);
}

void setShaderTextureParameter(ShaderContext* context, ShaderParameterHandle handle, unsigned int texture) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (parameter) parameter->texture = texture;
}

void enableShaderTextureParameter(ShaderContext* context, ShaderParameterHandle handle) {
    ShaderParameter* parameter = parameterOf(context, handle);
    if (!parameter || parameter->location < 0 || parameter->textureUnit < 0) return;
    GLenum target = parameter->type == GL_SAMPLER_CUBE ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    glActiveTexture(GL_TEXTURE0 + parameter->textureUnit);
    glBindTexture(target, parameter->texture);
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(parameter->location, parameter->textureUnit);
}
