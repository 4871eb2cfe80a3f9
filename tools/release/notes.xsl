<?xml version="1.0" encoding="UTF-8"?>
<!-- The release notes of one version (the parameter version) in one
     language (lang: "sv", or "en" for the untranslated text), in Markdown,
     from the metainfo's <releases>, where they are written. Prints nothing
     for a version without notes in that language. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="text" encoding="UTF-8"/>
  <xsl:param name="version"/>
  <xsl:param name="lang" select="'en'"/>

  <xsl:template match="/">
    <xsl:variable name="release" select="/component/releases/release[@version = $version]"/>
    <xsl:variable name="text" select="$release/description/p[$lang = 'en' and not(@xml:lang) or @xml:lang = $lang]
        | $release/description/*/li[$lang = 'en' and not(@xml:lang) or @xml:lang = $lang]"/>
    <xsl:if test="$text">
      <xsl:value-of select="concat('# Kolmira ', $version, ' (', $release/@date, ')&#10;')"/>
      <xsl:apply-templates select="$text"/>
    </xsl:if>
  </xsl:template>

  <xsl:template match="p">
    <xsl:value-of select="concat('&#10;', normalize-space(), '&#10;')"/>
  </xsl:template>

  <!-- A list item is written after a blank line when it opens its list. -->
  <xsl:template match="li">
    <xsl:if test="not(preceding-sibling::li[@xml:lang = current()/@xml:lang or
        not(@xml:lang) and not(current()/@xml:lang)])">
      <xsl:text>&#10;</xsl:text>
    </xsl:if>
    <xsl:value-of select="concat('- ', normalize-space(), '&#10;')"/>
  </xsl:template>
</xsl:stylesheet>
