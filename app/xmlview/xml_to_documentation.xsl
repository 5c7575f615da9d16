<?xml version="1.0" encoding="UTF-8"?>
<!--
  Turns a camera description (GenICam register description, any schema
  version) into a readable HTML page: the categories with the features they
  hold, then every feature with its name, type, description, access and
  value range.
  Element names are matched by local name, so the namespace of the schema
  version does not matter.
-->
<xsl:stylesheet version="2.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" indent="yes"/>

  <!--
    Categories first, each naming its features (links into the table), then
    one table of every feature node in name order. Nodes may sit directly
    below the root or inside Group elements. Each category names its
    features by text only, so the page is built in one pass over the nodes
    (large descriptions hold thousands of them).
  -->
  <xsl:template match="/">
    <xsl:variable name="root" select="*"/>
    <xsl:variable name="nodes"
        select="$root//*[@Name][parent::*[local-name() = 'RegisterDescription' or local-name() = 'Group']]"/>
    <xsl:variable name="features"
        select="$nodes[local-name() != 'Category' and local-name() != 'Port' and local-name() != 'ConfRom'
                       and local-name() != 'TextDesc' and local-name() != 'IntKey' and local-name() != 'AdvFeatureLock'
                       and local-name() != 'SmartFeature']"/>
    <html>
      <head>
        <title>
          <xsl:value-of select="concat($root/@VendorName, ' ', $root/@ModelName)"/>
        </title>
        <style type="text/css">
          body { font-family: sans-serif; }
          table { border-collapse: collapse; width: 100%; }
          th, td { border: 1px solid #999; padding: 3px 6px; text-align: left; vertical-align: top; }
          th { background: #dde; }
          .name { font-weight: bold; }
          .plain { color: #555; font-size: small; }
        </style>
      </head>
      <body>
        <h1>
          <xsl:value-of select="concat($root/@VendorName, ' ', $root/@ModelName)"/>
        </h1>
        <p>
          <xsl:value-of select="$root/@ToolTip"/>
        </p>
        <p class="plain">
          <xsl:value-of select="concat('Description version ', $root/@MajorVersion, '.', $root/@MinorVersion, '.',
                                       $root/@SubMinorVersion, ', schema ', $root/@SchemaMajorVersion, '.',
                                       $root/@SchemaMinorVersion, '.', $root/@SchemaSubMinorVersion, ', ',
                                       count($features), ' features')"/>
        </p>
        <h2>Categories</h2>
        <table>
          <tr>
            <th>Category</th>
            <th>Features</th>
          </tr>
          <xsl:apply-templates select="$nodes[local-name() = 'Category']" mode="category"/>
        </table>
        <h2>Features</h2>
        <table>
          <tr>
            <th>Feature</th>
            <th>Type</th>
            <th>Description</th>
            <th>Access</th>
            <th>Value range</th>
          </tr>
          <xsl:apply-templates select="$features" mode="row">
            <xsl:sort select="@Name"/>
          </xsl:apply-templates>
        </table>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="*" mode="category">
    <tr>
      <td>
        <span class="name"><xsl:apply-templates select="." mode="title"/></span>
        <br/>
        <span class="plain"><xsl:apply-templates select="." mode="description"/></span>
      </td>
      <td>
        <xsl:for-each select="*[local-name() = 'pFeature']">
          <xsl:if test="position() > 1">, </xsl:if>
          <a href="#{normalize-space(.)}"><xsl:value-of select="normalize-space(.)"/></a>
        </xsl:for-each>
      </td>
    </tr>
  </xsl:template>

  <xsl:template match="*" mode="row">
    <tr>
      <td>
        <a name="{@Name}"/>
        <span class="name"><xsl:apply-templates select="." mode="title"/></span>
        <xsl:if test="*[local-name() = 'DisplayName']">
          <br/><span class="plain"><xsl:value-of select="@Name"/></span>
        </xsl:if>
        <xsl:if test="*[local-name() = 'Visibility'] and *[local-name() = 'Visibility'] != 'Beginner'">
          <br/><span class="plain"><xsl:value-of select="*[local-name() = 'Visibility'][1]"/></span>
        </xsl:if>
      </td>
      <td><xsl:value-of select="local-name()"/></td>
      <td><xsl:apply-templates select="." mode="description"/></td>
      <td><xsl:apply-templates select="." mode="access"/></td>
      <td><xsl:apply-templates select="." mode="range"/></td>
    </tr>
  </xsl:template>

  <xsl:template match="*" mode="title">
    <xsl:choose>
      <xsl:when test="*[local-name() = 'DisplayName']">
        <xsl:value-of select="*[local-name() = 'DisplayName'][1]"/>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="@Name"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="*" mode="description">
    <xsl:choose>
      <xsl:when test="*[local-name() = 'Description']">
        <xsl:value-of select="*[local-name() = 'Description'][1]"/>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="*[local-name() = 'ToolTip'][1]"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The access the description states, else what the node kind implies. -->
  <xsl:template match="*" mode="access">
    <xsl:variable name="mode" select="*[local-name() = 'AccessMode' or local-name() = 'ImposedAccessMode'][1]"/>
    <xsl:choose>
      <xsl:when test="$mode">
        <xsl:value-of select="$mode"/>
      </xsl:when>
      <xsl:when test="local-name() = 'Category'">-</xsl:when>
      <xsl:when test="local-name() = 'Command'">WO</xsl:when>
      <xsl:when test="*[local-name() = 'pValue']">
        <xsl:value-of select="concat('as ', *[local-name() = 'pValue'][1])"/>
      </xsl:when>
      <xsl:when test="*[local-name() = 'Value']">RW</xsl:when>
      <xsl:when test="*[local-name() = 'Formula']">RO</xsl:when>
      <xsl:otherwise>RW</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="*" mode="range">
    <xsl:choose>
      <xsl:when test="local-name() = 'Enumeration'">
        <xsl:for-each select="*[local-name() = 'EnumEntry']">
          <xsl:if test="position() > 1">, </xsl:if>
          <xsl:value-of select="@Name"/>
          <xsl:if test="*[local-name() = 'Value']">
            <xsl:value-of select="concat(' (', *[local-name() = 'Value'][1], ')')"/>
          </xsl:if>
        </xsl:for-each>
      </xsl:when>
      <xsl:when test="local-name() = 'Boolean'">true, false</xsl:when>
      <xsl:when test="local-name() = 'Command'">execute</xsl:when>
      <xsl:otherwise>
        <xsl:variable name="min" select="*[local-name() = 'Min' or local-name() = 'pMin'][1]"/>
        <xsl:variable name="max" select="*[local-name() = 'Max' or local-name() = 'pMax'][1]"/>
        <xsl:variable name="inc" select="*[local-name() = 'Inc' or local-name() = 'pInc'][1]"/>
        <xsl:if test="$min or $max">
          <xsl:value-of select="concat(if ($min) then string($min) else '…', ' to ',
                                       if ($max) then string($max) else '…')"/>
        </xsl:if>
        <xsl:if test="$inc">
          <xsl:value-of select="concat(', step ', $inc)"/>
        </xsl:if>
        <xsl:if test="*[local-name() = 'Unit']">
          <xsl:value-of select="concat(' ', *[local-name() = 'Unit'][1])"/>
        </xsl:if>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
