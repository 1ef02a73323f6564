#include "spreadsheet/compound_file_writer.h"

#include "common/errors.h"
#include "common/gbk.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-output-impl.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-utils.h>

#include <mutex>
#include <strings.h>

namespace quvela::spreadsheet {
namespace {

// Storages nest a level or two in real files; deeper only comes from damage.
constexpr int kMaxDepth = 32;

[[noreturn]] void writeFailed(const std::string &detail)
{
    throw QuvelaError(gbk::fromUtf8("无法写出工作簿的复合文件（" + detail + "）。"));
}

// Owns one GObject reference.
template <typename T>
struct Ref
{
    T *p = nullptr;
    explicit Ref(T *object) : p(object) {}
    ~Ref()
    {
        if (p)
            g_object_unref(p);
    }
    Ref(const Ref &) = delete;
    Ref &operator=(const Ref &) = delete;
};

void copyModificationTime(GsfInput *from, GsfOutput *to)
{
    if (GDateTime *time = gsf_input_get_modtime(from))
        gsf_output_set_modtime(to, time);
}

void writeAll(GsfOutput *out, std::string_view bytes)
{
    // gsf_output_write takes a size_t but is happier with chunks.
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, bytes.size() - at);
        if (!gsf_output_write(out, n, reinterpret_cast<const guint8 *>(bytes.data() + at)))
            writeFailed("写入流失败");
    }
}

void copyStorage(GsfInfile *in, GsfOutfile *out, int depth, std::string_view replacedName,
                 std::string_view replacement, bool &replaced)
{
    if (depth > kMaxDepth)
        writeFailed("存储嵌套过深");
    const int count = gsf_infile_num_children(in);
    for (int i = 0; i < count; ++i) {
        const char *name = gsf_infile_name_by_index(in, i);
        Ref<GsfInput> child(gsf_infile_child_by_index(in, i));
        if (!name || !child.p)
            writeFailed("无法读取目录项");
        // A storage reports its children count; a stream reports -1.
        const bool isStorage = GSF_IS_INFILE(child.p) && gsf_infile_num_children(GSF_INFILE(child.p)) >= 0;
        Ref<GsfOutput> target(gsf_outfile_new_child(out, name, isStorage));
        if (!target.p)
            writeFailed("无法创建目录项");
        if (isStorage) {
            guint8 clsid[16];
            if (GSF_IS_INFILE_MSOLE(child.p) && gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.p), clsid))
                gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(target.p), clsid);
            copyStorage(GSF_INFILE(child.p), GSF_OUTFILE(target.p), depth + 1, {}, {}, replaced);
        } else if (depth == 0 && !replaced && std::string_view(name).size() == replacedName.size()
                   && strncasecmp(name, replacedName.data(), replacedName.size()) == 0) {
            writeAll(target.p, replacement);
            replaced = true;
        } else if (!gsf_input_copy(child.p, target.p)) {
            writeFailed("复制流失败");
        }
        copyModificationTime(child.p, target.p);
        if (!gsf_output_close(target.p))
            writeFailed("关闭目录项失败");
    }
}

} // namespace

std::string rewriteCompoundFile(std::string_view original, std::string_view streamName,
                                std::string_view replacement)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });
    if (original.size() < 512)
        writeFailed("原文件不完整");

    GError *error = nullptr;
    Ref<GsfInput> source(gsf_input_memory_new(reinterpret_cast<const guint8 *>(original.data()),
                                              static_cast<gsf_off_t>(original.size()), FALSE));
    Ref<GsfInfile> in(gsf_infile_msole_new(source.p, &error));
    if (!in.p) {
        const std::string detail = error && error->message ? error->message : "无法读取原文件";
        if (error)
            g_error_free(error);
        writeFailed(detail);
    }

    // Keep the sector size the original was written with (512 or 4096 bytes).
    const unsigned shift = static_cast<unsigned char>(original[0x1E])
                           | static_cast<unsigned>(static_cast<unsigned char>(original[0x1F])) << 8;
    const unsigned sectorSize = shift == 12 ? 4096 : 512;

    Ref<GsfOutput> sink(gsf_output_memory_new());
    Ref<GsfOutfile> out(gsf_outfile_msole_new_full(sink.p, sectorSize, 64));
    if (!out.p)
        writeFailed("无法创建复合文件");
    guint8 clsid[16];
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(in.p), clsid))
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(out.p), clsid);
    copyModificationTime(GSF_INPUT(in.p), GSF_OUTPUT(out.p));
    bool replaced = false;
    try {
        copyStorage(in.p, out.p, 0, streamName, replacement, replaced);
    } catch (...) {
        gsf_output_close(GSF_OUTPUT(out.p));
        throw;
    }
    if (!gsf_output_close(GSF_OUTPUT(out.p)))
        writeFailed("关闭复合文件失败");
    if (!replaced)
        writeFailed("原文件中没有要替换的流");
    const gsf_off_t size = gsf_output_size(sink.p);
    const guint8 *bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.p));
    if (size <= 0 || !bytes)
        writeFailed("复合文件为空");
    return std::string(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(size));
}

} // namespace quvela::spreadsheet
