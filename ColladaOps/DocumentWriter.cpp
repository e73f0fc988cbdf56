// The COLLADA document of both writers, streamed top to bottom: a fixed
// template around the header texts, the counts and the data lists.
#include <cstring>
#include <memory>
#include <string_view>

#include "ColladaOps.h"
#include "Common.h"
#include "DirectText.h"
#include "FileOps.h"
#include "TextOps.h"

namespace {

using colladaops::DocumentTexts;
using colladaops::Layout;
using fennick::Status;
using textops::OutFile;
using textops::put;
using textops::putChar;
using textops::putInt;
using textops::putUInt;

// ---- the template's constant lines ----------------------------------------

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n";
constexpr std::string_view kAssetOpen =
    "  <asset>\n"
    "    <contributor>\n";
constexpr std::string_view kTool =
    "      <authoring_tool>Plaxio Collada Exporter</authoring_tool>\n";
constexpr std::string_view kContributorEnd =
    "    </contributor>\n";
constexpr std::string_view kUnitToMaterials =
    "    <unit name=\"half-meter\" meter=\"0.5\"/>\n"
    "    <up_axis>Y_UP</up_axis>\n"
    "  </asset>\n"
    "  <library_materials>\n";
constexpr std::string_view kMaterialEnd =
    "    </material>\n";
constexpr std::string_view kMaterialsToEffects =
    "  </library_materials>\n"
    "  <library_effects>\n";
constexpr std::string_view kEffectProfile =
    "      <profile_COMMON>\n"
    "        <newparam sid=\"PlaxioTexture-surface\">\n"
    "          <surface type=\"2D\">\n"
    "            <init_from>PlaxioTexture</init_from>\n"
    "          </surface>\n"
    "        </newparam>\n"
    "        <newparam sid=\"PlaxioTexture-sampler\">\n"
    "          <sampler2D>\n"
    "            <source>PlaxioTexture-surface</source>\n"
    "          </sampler2D>\n"
    "        </newparam>\n"
    "        <technique sid=\"common\">\n"
    "          <blinn>\n"
    "            <emission>\n"
    "              <color>0 0 0 1</color>\n"
    "            </emission>\n"
    "            <ambient>\n"
    "              <color>0 0 0 1</color>\n"
    "            </ambient>\n"
    "            <diffuse>\n"
    "              <texture texture=\"PlaxioTexture-sampler\" texcoord=\"TEX0\">\n"
    "                <extra>\n"
    "                  <technique profile=\"PlaxioCOLLADA\">\n"
    "                    <blend_mode>NONE</blend_mode>\n"
    "                    <coverageU>1</coverageU>\n"
    "                    <coverageV>1</coverageV>\n"
    "                    <fast>0</fast>\n"
    "                    <mirrorU>0</mirrorU>\n"
    "                    <mirrorV>0</mirrorV>\n"
    "                    <noiseU>0</noiseU>\n"
    "                    <noiseV>0</noiseV>\n"
    "                    <offsetU>0</offsetU>\n"
    "                    <offsetV>0</offsetV>\n"
    "                    <repeatU>1</repeatU>\n"
    "                    <repeatV>1</repeatV>\n"
    "                    <rotateFrame>0</rotateFrame>\n"
    "                    <rotateUV>0</rotateUV>\n"
    "                    <stagger>0</stagger>\n"
    "                    <translateFrameU>0</translateFrameU>\n"
    "                    <translateFrameV>0</translateFrameV>\n"
    "                    <wrapU>1</wrapU>\n"
    "                    <wrapV>1</wrapV>\n"
    "                  </technique>\n"
    "                </extra>\n"
    "              </texture>\n"
    "            </diffuse>\n"
    "            <specular>\n"
    "              <color>0.5 0.5 0.5 1</color>\n"
    "            </specular>\n"
    "            <shininess>\n"
    "              <float>0.3</float>\n"
    "            </shininess>\n"
    "            <reflective>\n"
    "              <color>0 0 0 1</color>\n"
    "            </reflective>\n"
    "            <reflectivity>\n"
    "              <float>0.5</float>\n"
    "            </reflectivity>\n"
    "            <transparent opaque=\"RGB_ZERO\">\n"
    "              <color>0 0 0 1</color>\n"
    "            </transparent>\n"
    "            <transparency>\n"
    "              <float>1</float>\n"
    "            </transparency>\n"
    "          </blinn>\n"
    "        </technique>\n"
    "      </profile_COMMON>\n"
    "    </effect>\n";
constexpr std::string_view kEffectsToImage =
    "  </library_effects>\n"
    "  <library_images>\n"
    "    <image id=\"PlaxioTexture\" name=\"PlaxioTexture\">\n";
constexpr std::string_view kImageToGeometries =
    "      <extra>\n"
    "        <technique profile=\"PlaxioCOLLADA\">\n"
    "          <dgnode_type>kFile</dgnode_type>\n"
    "          <image_sequence>0</image_sequence>          \n"
    "        </technique>\n"
    "      </extra>\n"
    "    </image>\n"
    "  </library_images>\n"
    "  <library_geometries>\n";
constexpr std::string_view kMesh =
    "      <mesh>\n";
constexpr std::string_view kTechniqueCommon =
    "          <technique_common>\n";
constexpr std::string_view kXYZToSource =
    "              <param name=\"X\" type=\"float\"/>\n"
    "              <param name=\"Y\" type=\"float\"/>\n"
    "              <param name=\"Z\" type=\"float\"/>\n"
    "            </accessor>\n"
    "          </technique_common>\n"
    "        </source>  \n";
constexpr std::string_view kNormalXYZToSource =
    "              <param name=\"X\" type=\"float\"/>\n"
    "              <param name=\"Y\" type=\"float\"/>\n"
    "              <param name=\"Z\" type=\"float\"/>\n"
    "            </accessor>\n"
    "          </technique_common>\n"
    "        </source>     \n";
constexpr std::string_view kMapST =
    "              <param name=\"S\" type=\"float\"/>\n"
    "              <param name=\"T\" type=\"float\"/>\n"
    "            </accessor>\n"
    "          </technique_common>\n"
    "        </source>\n";
constexpr std::string_view kVerticesEnd =
    "        </vertices>\n";
constexpr std::string_view kMeshEndToScenes =
    "      </mesh>\n"
    "      <extra>\n"
    "        <technique profile=\"PlaxioCOLLADA\">          \n"
    "          <double_sided>1</double_sided>\n"
    "        </technique>\n"
    "      </extra>\n"
    "    </geometry>\n"
    "  </library_geometries>\n"
    "  <library_visual_scenes>\n";
constexpr std::string_view kNodeTransforms =
    "        <translate sid=\"translate\">0 0 0</translate>\n"
    "        <rotate sid=\"rotateZ\">0 0 1 0</rotate>\n"
    "        <rotate sid=\"rotateY\">0 1 0 0</rotate>\n"
    "        <rotate sid=\"rotateX\">1 0 0 0</rotate>\n"
    "        <scale sid=\"scale\">1 1 1</scale>\n";
constexpr std::string_view kBindMaterial =
    "          <bind_material>\n"
    "            <technique_common>\n";
constexpr std::string_view kBindVertexInput =
    "                <bind_vertex_input semantic=\"TEX0\" input_semantic=\"TEXCOORD\" input_set=\"0\"/>\n";
constexpr std::string_view kInstanceMaterialEnd =
    "              </instance_material>\n";
constexpr std::string_view kSceneEnd =
    "            </technique_common>\n"
    "          </bind_material>\n"
    "        </instance_geometry>        \n"
    "      </node>\n"
    "    </visual_scene>\n"
    "  </library_visual_scenes>\n"
    "  <scene>\n"
    "    <instance_visual_scene url=\"#VisualSceneNode\"/>\n"
    "  </scene>\n"
    "</COLLADA>\n"
    "\n"
    "\n";

// ---- pieces -----------------------------------------------------------------

// A header text as XML character data: & < > " escaped, every other byte as
// it is.
std::string escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

template <class... Pieces>
void line(OutFile& out, const Pieces&... pieces) {
  (put(out, std::string_view(pieces)), ...);
  putChar(out, '\n');
}

// Every text of the runs, each followed by a blank (as the arena holds them).
void putTexts(OutFile& out, const colModel& m, const std::vector<colTextRun>& runs) {
  for (const colTextRun& run : runs) put(out, m.textArena.data + run.offset, run.bytes);
}

// Room a normal's text "x y z " takes at most (three %g texts of at most 13
// characters and their blanks), rounded up for fixed-size copies.
constexpr size_t kNormalText = 48;

// "x y z " of one normal, each component widened to double and written %g.
// `text` has room for kNormalText + 16 bytes.
size_t formatNormal(float x, float y, float z, char* text) {
  size_t n = textops::formatFloatG6(x, text);
  text[n++] = ' ';
  n += textops::formatFloatG6(y, text + n);
  text[n++] = ' ';
  n += textops::formatFloatG6(z, text + n);
  text[n++] = ' ';
  return n;
}

// Copies a normal's text with one fixed-size copy.
inline void putNormalText(OutFile& out, const char* text, size_t length) {
  char* at = textops::room(out, kNormalText);
  std::memcpy(at, text, kNormalText);
  textops::advance(out, at + length);
}

// Groups in key order.
std::vector<const colGroup*> groupsInOrder(const colModel& m) {
  std::vector<const colGroup*> groups;
  groups.reserve(m.groupTable.size());
  for (const auto& entry : m.groupTable) groups.push_back(&m.groups[size_t(entry.second)]);
  return groups;
}

void putNormals(OutFile& out, const colModel& m, const std::vector<const colGroup*>& groups,
                int normalMode) {
  alignas(16) char text[kNormalText + 16];
  if (normalMode == 1) {
    for (const colGroup* g : groups) {
      for (size_t f = 0; f < g->cornerCounts.size; ++f) {
        const float* n = &g->faceNormals[3 * f];
        size_t length = formatNormal(n[0], n[1], n[2], text);
        for (int32_t c = 0; c < g->cornerCounts[f]; ++c) putNormalText(out, text, length);
      }
    }
    return;
  }
  // A vertex is written once per corner that uses it; neighbouring faces use
  // nearby vertices, so a small table of recent texts saves most formatting.
  struct Cached {
    int32_t vertex = -1;
    uint32_t length = 0;
    char text[kNormalText + 16];
  };
  constexpr size_t kSlots = 8192;
  std::vector<Cached> cache(kSlots);
  for (const colGroup* g : groups) {
    for (int32_t v : g->vertexIndices) {
      Cached& c = cache[size_t(v) & (kSlots - 1)];
      if (c.vertex != v) {
        const aVertex& a = m.vertices[size_t(v)];
        c.length = uint32_t(formatNormal(a.nx, a.ny, a.nz, c.text));
        c.vertex = v;
      }
      putNormalText(out, c.text, c.length);
    }
  }
}

// The corners of one group's p list: "v t " each, or "v n t " with the
// running normal number n when normals are written.
void putCorners(OutFile& out, const colGroup& g, bool normals, uint64_t& normal) {
  const int32_t* vertex = g.vertexIndices.data;
  const int32_t* texture = g.textureIndices.data;
  const size_t corners = g.vertexIndices.size;
  for (size_t j = 0; j < corners; ++j) {
    // Two 11-character integers, a normal number of at most 20 digits, 3 blanks.
    char* p = textops::room(out, 64);
    p = textops::writeInt64(p, vertex[j]);
    *p++ = ' ';
    if (normals) {
      p = textops::writeUInt64(p, normal++);
      *p++ = ' ';
    }
    p = textops::writeInt64(p, texture[j]);
    *p++ = ' ';
    textops::advance(out, p);
  }
}

void putCounts(OutFile& out, const colGroup& g) {
  for (size_t f = 0; f < g.cornerCounts.size; ++f) {
    char* p = textops::room(out, 16);
    p = textops::writeInt64(p, g.cornerCounts[f]);
    *p++ = ' ';
    textops::advance(out, p);
  }
}

struct Texts {
  std::string model, texture, author, copyright, comments, date;
};

void writeWithMaterials(OutFile& out, const colModel& m, int normalMode, Layout layout,
                        const std::vector<std::string>& materials, const DocumentTexts& texts) {
  const Texts t{escaped(texts.modelName), escaped(texts.textureName),
                escaped(texts.author),    escaped(texts.copyright),
                escaped(texts.comments),  escaped(texts.dateTime)};
  const std::string& M = t.model;
  const bool normals = normalMode > 0;
  const std::vector<const colGroup*> groups = groupsInOrder(m);
  uint64_t corners = 0;
  for (const colGroup* g : groups) corners += g->vertexIndices.size;

  put(out, kDeclaration);
  put(out, kAssetOpen);
  line(out, "      <author>", t.author, "</author>");
  put(out, kTool);
  line(out, "      <comments>", t.comments, "</comments> ");
  line(out, "\t\t\t<copyright>", t.copyright, "</copyright>");
  line(out, "\t\t\t<source_data></source_data>     ");
  put(out, kContributorEnd);
  line(out, "    <created>", t.date, "</created>");
  line(out, "    <modified>", t.date, "</modified>");
  put(out, kUnitToMaterials);
  if (layout == Layout::Polylist) {
    line(out, "    <material id=\"", M, "_blinn\" name=\"", M, "_blinn\">");
    line(out, "      <instance_effect url=\"#", M, "_blinn-fx\"/>");
    put(out, kMaterialEnd);
  } else {
    for (const std::string& name : materials) {
      line(out, "    <material id=\"", name, "\" name=\"", name, "\">");
      line(out, "      <instance_effect url=\"#", name, "-fx\"/>");
      put(out, kMaterialEnd);
    }
  }
  put(out, kMaterialsToEffects);
  if (layout == Layout::Polylist) {
    line(out, "    <effect id=\"", M, "_blinn-fx\">");
    put(out, kEffectProfile);
  } else {
    for (const std::string& name : materials) {
      line(out, "    <effect id=\"", name, "-fx\">");
      put(out, kEffectProfile);
    }
  }
  put(out, kEffectsToImage);
  line(out, "      <init_from>./", t.texture, ".bmp</init_from>");
  put(out, kImageToGeometries);
  line(out, "    <geometry id=\"", M, "\" name=\"", M, "\">");
  put(out, kMesh);

  line(out, "        <source id=\"", M, "-positions\" name=\"", M, "-positions\">");
  put(out, "        \t          <float_array id=\"");
  put(out, M);
  put(out, "-positions-array\" count=\"");
  putUInt(out, 3 * m.positionCount);
  put(out, "\">");
  putTexts(out, m, m.positionRuns);
  line(out, "</float_array>\t");
  put(out, kTechniqueCommon);
  put(out, "            <accessor source=\"#");
  put(out, M);
  put(out, "-positions-array\" count=\"");
  putUInt(out, m.positionCount);
  line(out, "\" stride=\"3\">");
  put(out, kXYZToSource);

  if (normals) {
    line(out, "        <source id=\"", M, "-normals\" name=\"", M, "-normals\">");
    put(out, "          <float_array id=\"");
    put(out, M);
    put(out, "-normals-array\" count=\"");
    putUInt(out, 3 * corners);
    put(out, "\">");
    putNormals(out, m, groups, normalMode);
    line(out, "</float_array>");
    put(out, kTechniqueCommon);
    put(out, "            <accessor source=\"#");
    put(out, M);
    put(out, "-normals-array\" count=\"");
    putUInt(out, corners);
    line(out, "\" stride=\"3\">");
    put(out, kNormalXYZToSource);
  }

  line(out, "        <source id=\"", M, "-map1\" name=\"", M, "-map1\">");
  put(out, "          <float_array id=\"");
  put(out, M);
  put(out, "-map1-array\" count=\"");
  putUInt(out, 2 * m.textureCount);
  put(out, "\">");
  putTexts(out, m, m.textureRuns);
  line(out, "</float_array>");
  put(out, kTechniqueCommon);
  put(out, "            <accessor source=\"#");
  put(out, M);
  put(out, "-map1-array\" count=\"");
  putUInt(out, m.textureCount);
  line(out, "\" stride=\"2\">");
  put(out, kMapST);
  line(out, "        <vertices id=\"", M, "-vertices\" name=\"", M, "-vertices\">");
  line(out, "          <input semantic=\"POSITION\" source=\"#", M, "-positions\"/>");
  put(out, kVerticesEnd);

  int64_t ordinal = 0;
  uint64_t normalNumber = 0;
  for (const auto& entry : m.groupTable) {
    const colGroup& g = m.groups[size_t(entry.second)];
    ++ordinal;
    if (layout == Layout::Polylist) {
      put(out, "        <polylist material=\"");
      putInt(out, ordinal);
      put(out, "_");
      put(out, M);
      put(out, "_blinnSG\" count=\"");
    } else {
      put(out, "        <triangles material=\"");
      put(out, materials[size_t(entry.second)]);
      put(out, "\" count=\"");
    }
    putInt(out, g.faceCount);
    line(out, "\">");
    line(out, "          <input semantic=\"VERTEX\" source=\"#", M, "-vertices\" offset=\"0\"/>");
    if (normals) {
      line(out, "          <input semantic=\"NORMAL\" source=\"#", M, "-normals\" offset=\"1\"/>");
      line(out, "          <input semantic=\"TEXCOORD\" source=\"#", M,
           "-map1\" offset=\"2\" set=\"0\"/>");
    } else {
      line(out, "          <input semantic=\"TEXCOORD\" source=\"#", M,
           "-map1\" offset=\"1\" set=\"0\"/>");
    }
    if (layout == Layout::Polylist) {
      put(out, "          <vcount>");
      putCounts(out, g);
      line(out, "</vcount>");
    }
    put(out, "          <p>");
    putCorners(out, g, normals, normalNumber);
    line(out, "</p>");
    line(out, layout == Layout::Polylist ? "        </polylist>" : "        </triangles>");
  }

  put(out, kMeshEndToScenes);
  line(out, "    <visual_scene id=\"VisualSceneNode\" name=\"", M, "\">");
  line(out, "      <node id=\"", M, "\" name=\"", M, "\" type=\"NODE\">");
  put(out, kNodeTransforms);
  line(out, "        <instance_geometry url=\"#", M, "\">");
  put(out, kBindMaterial);
  if (layout == Layout::Polylist) {
    line(out, "              <instance_material symbol=\"", M, "_blinnSG\" target=\"#", M,
         "_blinn\">");
    put(out, kBindVertexInput);
    put(out, kInstanceMaterialEnd);
  } else {
    for (const std::string& name : materials) {
      line(out, "              <instance_material symbol=\"", name, "\" target=\"#", name, "\">");
      put(out, kBindVertexInput);
      put(out, kInstanceMaterialEnd);
    }
  }
  put(out, kSceneEnd);
}

// "material_" and the decimal text of the 16-bit value k + 1000 without its
// first character: material_001 ... material_999, then material_000 for 1000.
std::string materialName(int32_t k) {
  std::string digits = std::to_string(static_cast<int16_t>(k + 1000));
  return "material_" + digits.substr(1);
}

std::vector<std::string> materialsOf(const colModel& model, Layout layout) {
  std::vector<std::string> materials;
  if (layout == Layout::Triangles) {
    for (int32_t k = 1; k <= model.groupCount; ++k) materials.push_back(materialName(k));
  }
  return materials;
}

}  // namespace

namespace colladaops {

Status exportDocument(const char* objPath, const char* outputPath, int normalMode,
                      Layout layout, const DocumentTexts& texts) {
  if (!objPath || !outputPath) return Status::NullArgument;
  textops::FilePtr obj = textops::openRead(objPath);
  const fileops::OneInput from(obj.get());
  if (fileops::namesInput(outputPath, obj ? from.identity : fileops::identityOf(objPath)))
    return Status::OutputIsInput;
  auto model = std::make_unique<colModel>();
  const Status read = readModel(obj.get(), normalMode, *model);
  obj.reset();
  if (read != Status::Ok) return read;
  const std::vector<std::string> materials = materialsOf(*model, layout);
  fileops::Output output;
  if (Status status = fileops::openOutput(output, outputPath, from.rules); status != Status::Ok)
    return status;
  writeWithMaterials(output.out, *model, normalMode, layout, materials, texts);
  // A write error (a full disk) is reported, never passed off as success,
  // and leaves the file as it was.
  return fileops::closeOutput(output) ? Status::Ok : Status::WriteFailed;
}

Status writeDocument(const unsigned char* data, size_t size, int normalMode, Layout layout,
                     const DocumentTexts& texts, textops::OutFile& out) {
  auto model = std::make_unique<colModel>();
  const Status read = readModel(data, size, normalMode, *model);
  if (read != Status::Ok) return read;
  writeModel(out, *model, normalMode, layout, texts);
  return Status::Ok;
}

void writeModel(OutFile& out, const colModel& model, int normalMode, Layout layout,
                const DocumentTexts& texts) {
  writeWithMaterials(out, model, normalMode, layout, materialsOf(model, layout), texts);
}

}  // namespace colladaops
