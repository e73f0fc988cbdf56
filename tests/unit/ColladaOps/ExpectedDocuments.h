// Whole documents the writers must produce, byte for byte (tabs and trailing
// blanks included).
#pragma once

// The quad of kQuadObj written by writeCollada to box.dae with normal mode 1,
// after setTextureName("skin") and setDateTime("yesterday").
constexpr const char* kQuadPolylistMode1 = R"DOC(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <asset>
    <contributor>
      <author>author</author>
      <authoring_tool>Plaxio Collada Exporter</authoring_tool>
      <comments>comments here</comments> 
			<copyright>copyright 2010</copyright>
			<source_data></source_data>     
    </contributor>
    <created>yesterday</created>
    <modified>yesterday</modified>
    <unit name="half-meter" meter="0.5"/>
    <up_axis>Y_UP</up_axis>
  </asset>
  <library_materials>
    <material id="box_blinn" name="box_blinn">
      <instance_effect url="#box_blinn-fx"/>
    </material>
  </library_materials>
  <library_effects>
    <effect id="box_blinn-fx">
      <profile_COMMON>
        <newparam sid="PlaxioTexture-surface">
          <surface type="2D">
            <init_from>PlaxioTexture</init_from>
          </surface>
        </newparam>
        <newparam sid="PlaxioTexture-sampler">
          <sampler2D>
            <source>PlaxioTexture-surface</source>
          </sampler2D>
        </newparam>
        <technique sid="common">
          <blinn>
            <emission>
              <color>0 0 0 1</color>
            </emission>
            <ambient>
              <color>0 0 0 1</color>
            </ambient>
            <diffuse>
              <texture texture="PlaxioTexture-sampler" texcoord="TEX0">
                <extra>
                  <technique profile="PlaxioCOLLADA">
                    <blend_mode>NONE</blend_mode>
                    <coverageU>1</coverageU>
                    <coverageV>1</coverageV>
                    <fast>0</fast>
                    <mirrorU>0</mirrorU>
                    <mirrorV>0</mirrorV>
                    <noiseU>0</noiseU>
                    <noiseV>0</noiseV>
                    <offsetU>0</offsetU>
                    <offsetV>0</offsetV>
                    <repeatU>1</repeatU>
                    <repeatV>1</repeatV>
                    <rotateFrame>0</rotateFrame>
                    <rotateUV>0</rotateUV>
                    <stagger>0</stagger>
                    <translateFrameU>0</translateFrameU>
                    <translateFrameV>0</translateFrameV>
                    <wrapU>1</wrapU>
                    <wrapV>1</wrapV>
                  </technique>
                </extra>
              </texture>
            </diffuse>
            <specular>
              <color>0.5 0.5 0.5 1</color>
            </specular>
            <shininess>
              <float>0.3</float>
            </shininess>
            <reflective>
              <color>0 0 0 1</color>
            </reflective>
            <reflectivity>
              <float>0.5</float>
            </reflectivity>
            <transparent opaque="RGB_ZERO">
              <color>0 0 0 1</color>
            </transparent>
            <transparency>
              <float>1</float>
            </transparency>
          </blinn>
        </technique>
      </profile_COMMON>
    </effect>
  </library_effects>
  <library_images>
    <image id="PlaxioTexture" name="PlaxioTexture">
      <init_from>./skin.bmp</init_from>
      <extra>
        <technique profile="PlaxioCOLLADA">
          <dgnode_type>kFile</dgnode_type>
          <image_sequence>0</image_sequence>          
        </technique>
      </extra>
    </image>
  </library_images>
  <library_geometries>
    <geometry id="box" name="box">
      <mesh>
        <source id="box-positions" name="box-positions">
        	          <float_array id="box-positions-array" count="12">0 0 0 1 0 0 1 1 0 0 1 0 </float_array>	
          <technique_common>
            <accessor source="#box-positions-array" count="4" stride="3">
              <param name="X" type="float"/>
              <param name="Y" type="float"/>
              <param name="Z" type="float"/>
            </accessor>
          </technique_common>
        </source>  
        <source id="box-normals" name="box-normals">
          <float_array id="box-normals-array" count="12">0 -0 1 0 -0 1 0 -0 1 0 -0 1 </float_array>
          <technique_common>
            <accessor source="#box-normals-array" count="4" stride="3">
              <param name="X" type="float"/>
              <param name="Y" type="float"/>
              <param name="Z" type="float"/>
            </accessor>
          </technique_common>
        </source>     
        <source id="box-map1" name="box-map1">
          <float_array id="box-map1-array" count="8"> 0 0  1 0  1 1  0 1 </float_array>
          <technique_common>
            <accessor source="#box-map1-array" count="4" stride="2">
              <param name="S" type="float"/>
              <param name="T" type="float"/>
            </accessor>
          </technique_common>
        </source>
        <vertices id="box-vertices" name="box-vertices">
          <input semantic="POSITION" source="#box-positions"/>
        </vertices>
        <polylist material="1_box_blinnSG" count="1">
          <input semantic="VERTEX" source="#box-vertices" offset="0"/>
          <input semantic="NORMAL" source="#box-normals" offset="1"/>
          <input semantic="TEXCOORD" source="#box-map1" offset="2" set="0"/>
          <vcount>4 </vcount>
          <p>0 0 0 1 1 1 2 2 2 3 3 3 </p>
        </polylist>
      </mesh>
      <extra>
        <technique profile="PlaxioCOLLADA">          
          <double_sided>1</double_sided>
        </technique>
      </extra>
    </geometry>
  </library_geometries>
  <library_visual_scenes>
    <visual_scene id="VisualSceneNode" name="box">
      <node id="box" name="box" type="NODE">
        <translate sid="translate">0 0 0</translate>
        <rotate sid="rotateZ">0 0 1 0</rotate>
        <rotate sid="rotateY">0 1 0 0</rotate>
        <rotate sid="rotateX">1 0 0 0</rotate>
        <scale sid="scale">1 1 1</scale>
        <instance_geometry url="#box">
          <bind_material>
            <technique_common>
              <instance_material symbol="box_blinnSG" target="#box_blinn">
                <bind_vertex_input semantic="TEX0" input_semantic="TEXCOORD" input_set="0"/>
              </instance_material>
            </technique_common>
          </bind_material>
        </instance_geometry>        
      </node>
    </visual_scene>
  </library_visual_scenes>
  <scene>
    <instance_visual_scene url="#VisualSceneNode"/>
  </scene>
</COLLADA>


)DOC";

// kTwoTrianglesObj (groups tail, then head) written by writeColladaTris to
// "My Model.dae" with normal mode 1, texture name and date empty.
constexpr const char* kTwoGroupTrianglesMode1 = R"DOC(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <asset>
    <contributor>
      <author>author</author>
      <authoring_tool>Plaxio Collada Exporter</authoring_tool>
      <comments>comments here</comments> 
			<copyright>copyright 2015</copyright>
			<source_data></source_data>     
    </contributor>
    <created></created>
    <modified></modified>
    <unit name="half-meter" meter="0.5"/>
    <up_axis>Y_UP</up_axis>
  </asset>
  <library_materials>
    <material id="material_001" name="material_001">
      <instance_effect url="#material_001-fx"/>
    </material>
    <material id="material_002" name="material_002">
      <instance_effect url="#material_002-fx"/>
    </material>
  </library_materials>
  <library_effects>
    <effect id="material_001-fx">
      <profile_COMMON>
        <newparam sid="PlaxioTexture-surface">
          <surface type="2D">
            <init_from>PlaxioTexture</init_from>
          </surface>
        </newparam>
        <newparam sid="PlaxioTexture-sampler">
          <sampler2D>
            <source>PlaxioTexture-surface</source>
          </sampler2D>
        </newparam>
        <technique sid="common">
          <blinn>
            <emission>
              <color>0 0 0 1</color>
            </emission>
            <ambient>
              <color>0 0 0 1</color>
            </ambient>
            <diffuse>
              <texture texture="PlaxioTexture-sampler" texcoord="TEX0">
                <extra>
                  <technique profile="PlaxioCOLLADA">
                    <blend_mode>NONE</blend_mode>
                    <coverageU>1</coverageU>
                    <coverageV>1</coverageV>
                    <fast>0</fast>
                    <mirrorU>0</mirrorU>
                    <mirrorV>0</mirrorV>
                    <noiseU>0</noiseU>
                    <noiseV>0</noiseV>
                    <offsetU>0</offsetU>
                    <offsetV>0</offsetV>
                    <repeatU>1</repeatU>
                    <repeatV>1</repeatV>
                    <rotateFrame>0</rotateFrame>
                    <rotateUV>0</rotateUV>
                    <stagger>0</stagger>
                    <translateFrameU>0</translateFrameU>
                    <translateFrameV>0</translateFrameV>
                    <wrapU>1</wrapU>
                    <wrapV>1</wrapV>
                  </technique>
                </extra>
              </texture>
            </diffuse>
            <specular>
              <color>0.5 0.5 0.5 1</color>
            </specular>
            <shininess>
              <float>0.3</float>
            </shininess>
            <reflective>
              <color>0 0 0 1</color>
            </reflective>
            <reflectivity>
              <float>0.5</float>
            </reflectivity>
            <transparent opaque="RGB_ZERO">
              <color>0 0 0 1</color>
            </transparent>
            <transparency>
              <float>1</float>
            </transparency>
          </blinn>
        </technique>
      </profile_COMMON>
    </effect>
    <effect id="material_002-fx">
      <profile_COMMON>
        <newparam sid="PlaxioTexture-surface">
          <surface type="2D">
            <init_from>PlaxioTexture</init_from>
          </surface>
        </newparam>
        <newparam sid="PlaxioTexture-sampler">
          <sampler2D>
            <source>PlaxioTexture-surface</source>
          </sampler2D>
        </newparam>
        <technique sid="common">
          <blinn>
            <emission>
              <color>0 0 0 1</color>
            </emission>
            <ambient>
              <color>0 0 0 1</color>
            </ambient>
            <diffuse>
              <texture texture="PlaxioTexture-sampler" texcoord="TEX0">
                <extra>
                  <technique profile="PlaxioCOLLADA">
                    <blend_mode>NONE</blend_mode>
                    <coverageU>1</coverageU>
                    <coverageV>1</coverageV>
                    <fast>0</fast>
                    <mirrorU>0</mirrorU>
                    <mirrorV>0</mirrorV>
                    <noiseU>0</noiseU>
                    <noiseV>0</noiseV>
                    <offsetU>0</offsetU>
                    <offsetV>0</offsetV>
                    <repeatU>1</repeatU>
                    <repeatV>1</repeatV>
                    <rotateFrame>0</rotateFrame>
                    <rotateUV>0</rotateUV>
                    <stagger>0</stagger>
                    <translateFrameU>0</translateFrameU>
                    <translateFrameV>0</translateFrameV>
                    <wrapU>1</wrapU>
                    <wrapV>1</wrapV>
                  </technique>
                </extra>
              </texture>
            </diffuse>
            <specular>
              <color>0.5 0.5 0.5 1</color>
            </specular>
            <shininess>
              <float>0.3</float>
            </shininess>
            <reflective>
              <color>0 0 0 1</color>
            </reflective>
            <reflectivity>
              <float>0.5</float>
            </reflectivity>
            <transparent opaque="RGB_ZERO">
              <color>0 0 0 1</color>
            </transparent>
            <transparency>
              <float>1</float>
            </transparency>
          </blinn>
        </technique>
      </profile_COMMON>
    </effect>
  </library_effects>
  <library_images>
    <image id="PlaxioTexture" name="PlaxioTexture">
      <init_from>./.bmp</init_from>
      <extra>
        <technique profile="PlaxioCOLLADA">
          <dgnode_type>kFile</dgnode_type>
          <image_sequence>0</image_sequence>          
        </technique>
      </extra>
    </image>
  </library_images>
  <library_geometries>
    <geometry id="My_Model_" name="My_Model_">
      <mesh>
        <source id="My_Model_-positions" name="My_Model_-positions">
        	          <float_array id="My_Model_-positions-array" count="12">0 0 0 1 0 0 0 1 0 1 1 0 </float_array>	
          <technique_common>
            <accessor source="#My_Model_-positions-array" count="4" stride="3">
              <param name="X" type="float"/>
              <param name="Y" type="float"/>
              <param name="Z" type="float"/>
            </accessor>
          </technique_common>
        </source>  
        <source id="My_Model_-normals" name="My_Model_-normals">
          <float_array id="My_Model_-normals-array" count="18">0 -0 1 0 -0 1 0 -0 1 0 -0 1 0 -0 1 0 -0 1 </float_array>
          <technique_common>
            <accessor source="#My_Model_-normals-array" count="6" stride="3">
              <param name="X" type="float"/>
              <param name="Y" type="float"/>
              <param name="Z" type="float"/>
            </accessor>
          </technique_common>
        </source>     
        <source id="My_Model_-map1" name="My_Model_-map1">
          <float_array id="My_Model_-map1-array" count="8"> 0 0  1 0  0 1  1 1 </float_array>
          <technique_common>
            <accessor source="#My_Model_-map1-array" count="4" stride="2">
              <param name="S" type="float"/>
              <param name="T" type="float"/>
            </accessor>
          </technique_common>
        </source>
        <vertices id="My_Model_-vertices" name="My_Model_-vertices">
          <input semantic="POSITION" source="#My_Model_-positions"/>
        </vertices>
        <triangles material="material_002" count="1">
          <input semantic="VERTEX" source="#My_Model_-vertices" offset="0"/>
          <input semantic="NORMAL" source="#My_Model_-normals" offset="1"/>
          <input semantic="TEXCOORD" source="#My_Model_-map1" offset="2" set="0"/>
          <p>1 0 1 3 1 3 2 2 2 </p>
        </triangles>
        <triangles material="material_001" count="1">
          <input semantic="VERTEX" source="#My_Model_-vertices" offset="0"/>
          <input semantic="NORMAL" source="#My_Model_-normals" offset="1"/>
          <input semantic="TEXCOORD" source="#My_Model_-map1" offset="2" set="0"/>
          <p>0 3 0 1 4 1 2 5 2 </p>
        </triangles>
      </mesh>
      <extra>
        <technique profile="PlaxioCOLLADA">          
          <double_sided>1</double_sided>
        </technique>
      </extra>
    </geometry>
  </library_geometries>
  <library_visual_scenes>
    <visual_scene id="VisualSceneNode" name="My_Model_">
      <node id="My_Model_" name="My_Model_" type="NODE">
        <translate sid="translate">0 0 0</translate>
        <rotate sid="rotateZ">0 0 1 0</rotate>
        <rotate sid="rotateY">0 1 0 0</rotate>
        <rotate sid="rotateX">1 0 0 0</rotate>
        <scale sid="scale">1 1 1</scale>
        <instance_geometry url="#My_Model_">
          <bind_material>
            <technique_common>
              <instance_material symbol="material_001" target="#material_001">
                <bind_vertex_input semantic="TEX0" input_semantic="TEXCOORD" input_set="0"/>
              </instance_material>
              <instance_material symbol="material_002" target="#material_002">
                <bind_vertex_input semantic="TEX0" input_semantic="TEXCOORD" input_set="0"/>
              </instance_material>
            </technique_common>
          </bind_material>
        </instance_geometry>        
      </node>
    </visual_scene>
  </library_visual_scenes>
  <scene>
    <instance_visual_scene url="#VisualSceneNode"/>
  </scene>
</COLLADA>


)DOC";
